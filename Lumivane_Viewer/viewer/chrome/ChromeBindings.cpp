#include "ChromeBindings.h"

#include "AudioGuideButton.h"
#include "ClassicCaptionBand.h"
#include "ClassicInfoMarker.h"
#include "ControlBar.h"
#include "FollowState.h"
#include "ImmersiveExitButton.h"
#include "SplashView.h"
#include "WatermarkView.h"
#include "media/sound/LumivaneAmbientPlayer.h"
#include "media/sound/LumivaneAudioService.h"
#include "model/ViewerAccent.h"
#include "viewer/state/ViewerController.h"

#include <QPointer>

namespace {

/// A callback that runs an operation on the controller while it exists.
template<typename Operation>
std::function<void()> operation(ViewerController &controller, Operation run)
{
    return [controller = QPointer<ViewerController>(&controller), run] {
        if (controller)
            run(*controller);
    };
}

} // namespace

HeaderBar::Inputs headerBarInputs(const ViewerController &controller)
{
    const std::optional<Station> station = controller.currentStation();
    return {controller.canGoBack(), controller.canGoForward(),
            station ? std::optional<QString>(station->name) : std::nullopt};
}

KioskHeader::Inputs kioskHeaderInputs(const ViewerController &controller)
{
    const std::optional<Station> station = controller.currentStation();
    return {station ? station->name : QString(), projectAccentColor(controller.project())};
}

ControlBarInputs controlBarInputs(const ViewerController &controller, const LumivaneAmbientPlayer &ambient)
{
    const LumivaneProject &project = controller.project();
    ControlBarInputs inputs;
    inputs.isClassic = project.renderMode == RenderMode::classic;
    inputs.stationCount = int(project.stations.size());
    inputs.thumbBarVisible = controller.state().thumbBarVisible;
    inputs.vrMode = controller.state().vrMode;
    inputs.kioskEnabled = project.kioskEnabled;
    inputs.ambientPlaying = ambient.isPlaying();
    inputs.ambientMuted = ambient.isMuted();
    inputs.hasFeedbackRecipient = controller.feedbackRecipient().has_value();
    return inputs;
}

std::optional<HotspotInfoCard::Inputs> hotspotInfoCardInputs(const ViewerController &controller)
{
    const std::optional<Hotspot> &hotspot = controller.state().selectedInfoHotspot;
    if (!hotspot)
        return std::nullopt;
    HotspotInfoCard::Inputs inputs{*hotspot, {}, projectAccentColor(controller.project())};
    for (const HotspotAttachment &attachment : hotspot->attachments) {
        inputs.fileURLs << (attachment.kind == AttachmentKind::image ? controller.attachmentFileURL(attachment.payload)
                                                                     : std::nullopt);
    }
    return inputs;
}

bool audioGuideButtonShown(const ViewerController &controller)
{
    const ViewerState &state = controller.state();
    return state.hasLaunchedTour && state.currentStationID && controller.stationHasNarration(*state.currentStationID);
}

bool overlayColumnCovered(const ViewerController &controller)
{
    const ViewerState &state = controller.state();
    switch (controller.rootFace()) {
    case RootFace::cover:
        return state.showContactForm;
    case RootFace::stations:
        return state.lightboxContent || (state.showFeedback && controller.feedbackRecipient())
            || state.showKeyboardHelp || state.showTableOfContents;
    case RootFace::gate:
        break;
    }
    return false;
}

void bindHeaderBar(HeaderBar &bar, ViewerController &controller)
{
    bar.setBranding(headerBranding(controller.project()));
    bar.onNavigateBack = operation(controller, [](ViewerController &c) { c.navigateBack(); });
    bar.onNavigateForward = operation(controller, [](ViewerController &c) { c.navigateForward(); });
    bar.onTogglePropertyInfo = operation(controller, [](ViewerController &c) { c.togglePropertyInfo(); });
    bar.onClose = operation(controller, [](ViewerController &c) { c.closeViewer(); });
    followState(bar, controller, [&bar, &controller] { bar.setInputs(headerBarInputs(controller)); });
}

void bindKioskHeader(KioskHeader &header, ViewerController &controller)
{
    header.onStopKiosk = operation(controller, [](ViewerController &c) { c.stopKiosk(); });
    followState(header, controller, [&header, &controller] { header.setInputs(kioskHeaderInputs(controller)); });
}

void bindImmersiveExitButton(ImmersiveExitButton &button, ViewerController &controller)
{
    button.onExitImmersion = operation(controller, [](ViewerController &c) { c.setImmersiveMode(false); });
}

void bindControlBar(ControlBar &bar, ViewerController &controller, LumivaneAmbientPlayer &ambient)
{
    bar.onBackToCover = operation(controller, [](ViewerController &c) { c.backToCover(); });
    bar.onGoToStartStation = operation(controller, [](ViewerController &c) { c.goToStartStation(); });
    bar.onZoomIn = operation(controller, [](ViewerController &c) { c.zoomIn(); });
    bar.onZoomOut = operation(controller, [](ViewerController &c) { c.zoomOut(); });
    bar.onLevelHorizon = operation(controller, [](ViewerController &c) { c.levelHorizon(); });
    bar.onShowTableOfContents = operation(controller, [](ViewerController &c) { c.setShowTableOfContents(true); });
    bar.onToggleThumbBar = operation(controller, [](ViewerController &c) { c.toggleThumbBar(); });
    bar.onEnterImmersiveMode = operation(controller, [](ViewerController &c) { c.setImmersiveMode(true); });
    bar.onToggleVRMode = operation(controller, [](ViewerController &c) { c.toggleVRMode(); });
    bar.onToggleKiosk = operation(controller, [](ViewerController &c) { c.toggleKiosk(); });
    bar.onToggleAmbientMute = operation(controller, [](ViewerController &c) { c.toggleAmbientMute(); });
    bar.onShowFeedback = operation(controller, [](ViewerController &c) { c.setShowFeedback(true); });
    // The player's signals may outlive the controller, and the other way round.
    const QPointer<LumivaneAmbientPlayer> player(&ambient);
    const QPointer<ViewerController> guarded(&controller);
    const auto apply = [&bar, guarded, player] {
        if (guarded && player)
            bar.setInputs(controlBarInputs(*guarded, *player));
    };
    followState(bar, controller, apply);
    QObject::connect(&ambient, &LumivaneAmbientPlayer::isPlayingChanged, &bar, apply);
    QObject::connect(&ambient, &LumivaneAmbientPlayer::isMutedChanged, &bar, apply);
}

void bindSplashView(SplashView &splash, ViewerController &controller)
{
    splash.setAccent(projectAccentColor(controller.project()));
    followState(splash, controller, [&splash, &controller] { splash.setSplashShown(controller.state().showSplash); });
}

void bindHotspotInfoCard(HotspotInfoCard &card, ViewerController &controller)
{
    card.onClose = operation(controller, [](ViewerController &c) { c.closeInfoCard(); });
    const QPointer<ViewerController> guarded(&controller);
    card.onToggleReadAloud = [guarded](const Hotspot &hotspot) {
        if (guarded)
            guarded->toggleReadAloud(hotspot);
    };
    card.onOpenAttachment = [guarded](const HotspotAttachment &attachment) {
        if (guarded)
            guarded->openAttachment(attachment);
    };
    card.onOpenImage = [guarded](const QUrl &url, const HotspotAttachment &attachment) {
        if (guarded)
            guarded->openImageInLightboxAnimated(url, attachment);
    };
    card.onPlaySound = [guarded](const HotspotAttachment &attachment) {
        if (guarded)
            guarded->openSoundAttachment(attachment);
    };
    // The file look-ups touch the disk: only a newly selected hotspot pays.
    followState(card, controller, [&card, &controller, shown = std::optional<Hotspot>()]() mutable {
        const std::optional<Hotspot> &selected = controller.state().selectedInfoHotspot;
        if (!selected || selected == shown)
            return;
        shown = selected;
        card.setInputs(*hotspotInfoCardInputs(controller));
    });
}

void bindAudioGuideButton(AudioGuideButton &button, ViewerController &controller, LumivaneAudioService &narration)
{
    button.onToggle = operation(controller, [](ViewerController &c) {
        if (const std::optional<QUuid> station = c.state().currentStationID)
            c.toggleStationNarration(*station);
    });
    button.setPlaying(narration.isPlaying());
    QObject::connect(&narration, &LumivaneAudioService::isPlayingChanged, &button, &AudioGuideButton::setPlaying);
}

void bindWatermarkView(WatermarkView &watermark, const ViewerController &controller)
{
    const LumivaneProject &project = controller.project();
    watermark.setWatermark(project.watermarkText.value_or(QString()), project.watermarkOpacity);
}

void bindClassicCaptionBand(ClassicCaptionBand &band, ViewerController &controller)
{
    followState(band, controller, [&band, &controller] { band.setStation(controller.currentStation()); });
}

void bindClassicInfoMarker(ClassicInfoMarker &marker, ViewerController &controller, const Hotspot &hotspot)
{
    marker.setAccent(projectAccentColor(controller.project()));
    marker.onSelect = operation(controller, [hotspot](ViewerController &c) { c.showInfoCard(hotspot); });
}
