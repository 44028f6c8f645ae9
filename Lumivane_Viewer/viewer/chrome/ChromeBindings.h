#pragma once

#include "ControlBarButtons.h"
#include "HeaderBar.h"
#include "HotspotInfoCard.h"
#include "KioskHeader.h"

#include <optional>

// Each binding connects one chrome widget to a viewer controller: it hands
// the widget its inputs now and after every state change, and turns the
// widget's callbacks into the controller's operations. The widget is the
// context of every connection, so a binding ends with its widget; the
// controller must outlive the widget or its callbacks do nothing.

class AudioGuideButton;
class ClassicCaptionBand;
class ClassicInfoMarker;
class ControlBar;
class ImmersiveExitButton;
class LumivaneAmbientPlayer;
class LumivaneAudioService;
class SplashView;
class ViewerController;
class WatermarkView;

// What the widgets are shown, read from the controller.
HeaderBar::Inputs headerBarInputs(const ViewerController &controller);
KioskHeader::Inputs kioskHeaderInputs(const ViewerController &controller);
ControlBarInputs controlBarInputs(const ViewerController &controller, const LumivaneAmbientPlayer &ambient);
/// None while no info hotspot is selected.
std::optional<HotspotInfoCard::Inputs> hotspotInfoCardInputs(const ViewerController &controller);
/// Whether the audio-guide button belongs on screen: the tour started on a
/// station that has narration.
bool audioGuideButtonShown(const ViewerController &controller);
/// Whether a sheet over the whole viewer is open (the lightbox, the feedback
/// card, the help card, the table of contents, the contact form): the
/// language picker and the audio-guide button stay under it with the rest.
bool overlayColumnCovered(const ViewerController &controller);

void bindHeaderBar(HeaderBar &bar, ViewerController &controller);
void bindKioskHeader(KioskHeader &header, ViewerController &controller);
void bindImmersiveExitButton(ImmersiveExitButton &button, ViewerController &controller);
/// The ambient player is the one the controller's effects play through; the
/// bar follows its playing and muted states.
void bindControlBar(ControlBar &bar, ViewerController &controller, LumivaneAmbientPlayer &ambient);
void bindSplashView(SplashView &splash, ViewerController &controller);
/// The card keeps its last contents while no hotspot is selected, so that it
/// can fade out showing them.
void bindHotspotInfoCard(HotspotInfoCard &card, ViewerController &controller);
/// The button follows the narration player's playing state.
void bindAudioGuideButton(AudioGuideButton &button, ViewerController &controller, LumivaneAudioService &narration);
void bindWatermarkView(WatermarkView &watermark, const ViewerController &controller);
void bindClassicCaptionBand(ClassicCaptionBand &band, ViewerController &controller);
/// A click opens the hotspot's info card.
void bindClassicInfoMarker(ClassicInfoMarker &marker, ViewerController &controller, const Hotspot &hotspot);
