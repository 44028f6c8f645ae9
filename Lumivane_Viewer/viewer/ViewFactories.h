#pragma once

#include "viewer/ViewerServices.h"

#include <QColor>

class ClassicInfoMarker;
class LumivaneAmbientPlayer;
class QNetworkAccessManager;
class QWidget;
class ViewerController;
struct Hotspot;

/// What every place of the viewer is built from: the controller, whose
/// state it shows and whose operations its callbacks run; the services; the
/// tour's accent colour; the viewer's ambient loop, whose playing and
/// muted states the control bar follows; and the viewer's network access,
/// which outlives the contact form so that a message on its way arrives.
struct ViewFactoryContext
{
    ViewerController &controller;
    const ViewerServices &services;
    QColor accent;
    LumivaneAmbientPlayer &ambient;
    QNetworkAccessManager &network;
};

/// One factory per place of the viewer. Each builds the view of its place
/// as a child of `parent`, turns the view's callbacks into the controller's
/// operations and keeps the view in step with the controller's state for as
/// long as the view lives. Where and when a place is shown is the caller's
/// (LumivaneViewerSheet, StationStackView): a factory only builds. A view
/// brings no outer padding of its own; the caller places it. A factory may
/// give no view (nullptr) when its place shows nothing.
namespace ViewFactories {

// Faces of the tour and what lies over every face.
QWidget *passwordGate(const ViewFactoryContext &context, QWidget *parent);
QWidget *cover(const ViewFactoryContext &context, QWidget *parent);
QWidget *contactForm(const ViewFactoryContext &context, QWidget *parent);
QWidget *languagePicker(const ViewFactoryContext &context, QWidget *parent);
QWidget *audioGuideButton(const ViewFactoryContext &context, QWidget *parent);

// The station view's chrome and overlays.
QWidget *header(const ViewFactoryContext &context, QWidget *parent);
QWidget *controlBar(const ViewFactoryContext &context, QWidget *parent);
QWidget *immersiveExit(const ViewFactoryContext &context, QWidget *parent);
QWidget *kioskHeader(const ViewFactoryContext &context, QWidget *parent);
QWidget *infoCard(const ViewFactoryContext &context, QWidget *parent);
QWidget *propertyInfo(const ViewFactoryContext &context, QWidget *parent);
QWidget *floorPlan(const ViewFactoryContext &context, QWidget *parent);
QWidget *thumbStrip(const ViewFactoryContext &context, QWidget *parent);
QWidget *splash(const ViewFactoryContext &context, QWidget *parent);
QWidget *lightbox(const ViewFactoryContext &context, QWidget *parent);
QWidget *feedback(const ViewFactoryContext &context, QWidget *parent);
QWidget *keyboardHelp(const ViewFactoryContext &context, QWidget *parent);
QWidget *tableOfContents(const ViewFactoryContext &context, QWidget *parent);
QWidget *watermark(const ViewFactoryContext &context, QWidget *parent);

// Classic tours' media layer.
QWidget *captionBand(const ViewFactoryContext &context, QWidget *parent);
/// One info marker; the caller puts its disc's centre in place.
ClassicInfoMarker *classicMarker(const ViewFactoryContext &context, const Hotspot &hotspot, QWidget *parent);

} // namespace ViewFactories
