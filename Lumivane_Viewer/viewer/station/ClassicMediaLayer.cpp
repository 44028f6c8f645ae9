#include "viewer/station/ClassicMediaLayer.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneClassicViewer.h"
#include "viewer/chrome/ClassicCaptionBand.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/AspectFitRect.h"
#include "widgets/RoundSymbolLabels.h"
#include "widgets/SymbolButton.h"

#include <QResizeEvent>

namespace {

constexpr int previousLeadingPadding = 60;
constexpr int nextTrailingPadding = 20;
constexpr int clearance = 12; // from the areas the buttons keep clear of

LumivaneClassicViewer::Inputs slideshowInputs(const ViewerController &controller, double animationSeconds)
{
    LumivaneClassicViewer::Inputs inputs;
    inputs.stations = controller.orderedStations();
    inputs.currentIndex = controller.currentStationIndex();
    inputs.photoURLResolver = controller.tour().photoURLResolver;
    inputs.style = controller.project().classicTransitionStyle;
    inputs.animationSeconds = animationSeconds;
    return inputs;
}

bool sameHotspots(const QList<Hotspot> &a, const QList<Hotspot> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const Hotspot &x, const Hotspot &y) {
        return x.id == y.id && x.yaw == y.yaw && x.pitch == y.pitch;
    });
}

} // namespace

ClassicMediaLayer::ClassicMediaLayer(const ViewFactoryContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName("classicMediaLayer");
    ViewerController &controller = context.controller;
    m_slideshow = new LumivaneClassicViewer(slideshowInputs(controller, 0), context.services.imageCache,
                                            *context.services.l10n, this);
    const L10n &l10n = *context.services.l10n;
    m_previous = new SymbolButton(roundIconLabelLarge(QStringLiteral("chevron.left")), this);
    m_previous->setObjectName("classicPrevious");
    m_previous->setAccessibleName(l10n.text(L10n::Key::previous));
    connect(m_previous, &QAbstractButton::clicked, this, [&controller] { controller.goToPreviousStation(); });
    m_next = new SymbolButton(roundIconLabelLarge(QStringLiteral("chevron.right")), this);
    m_next->setObjectName("classicNext");
    m_next->setAccessibleName(l10n.text(L10n::Key::next));
    connect(m_next, &QAbstractButton::clicked, this, [&controller] { controller.goToNextStation(); });
    refresh(ViewerAnimation::none());
}

void ClassicMediaLayer::refresh(ViewerAnimation animation)
{
    ViewerController &controller = m_context.controller;
    if (controller.currentStationIndex() != m_slideshow->inputs().currentIndex)
        m_slideshow->setInputs(slideshowInputs(controller, animation.seconds));

    const std::optional<Station> station = controller.currentStation();
    if (station && !m_caption) {
        m_caption = ViewFactories::captionBand(m_context, this);
        if (m_caption) {
            m_caption->stackUnder(m_previous);
            m_caption->show();
        }
    } else if (!station && m_caption) {
        m_caption->deleteLater();
        m_caption = nullptr;
    }
    const std::optional<QUrl> photo = station ? controller.tour().photoURLResolver(station->id) : std::nullopt;
    m_photoURL = photo.value_or(QUrl());
    rebuildMarkers(station ? controller.infoHotspotsOfStation() : QList<Hotspot>());

    const bool stepping = !controller.state().kioskActive;
    m_previous->setVisible(stepping);
    m_next->setVisible(stepping);
    layOut();
}

QList<ClassicInfoMarker *> ClassicMediaLayer::markers() const
{
    QList<ClassicInfoMarker *> shown;
    for (const Marker &marker : m_markers) {
        if (marker.view)
            shown << marker.view;
    }
    return shown;
}

QRectF ClassicMediaLayer::fittedPhotoRect() const
{
    // The size comes from the file's header, read once per photo.
    return aspectFitRect(QSizeF(m_photoSizes.size(m_photoURL)), QSizeF(size()));
}

void ClassicMediaLayer::rebuildMarkers(const QList<Hotspot> &hotspots)
{
    const std::optional<QUuid> station = m_context.controller.state().currentStationID;
    if (station == m_markerStation && sameHotspots(hotspots, m_markerHotspots))
        return;
    for (const Marker &marker : std::as_const(m_markers)) {
        if (marker.view)
            marker.view->deleteLater();
    }
    m_markers.clear();
    m_markerStation = station;
    m_markerHotspots = hotspots;
    for (const Hotspot &hotspot : hotspots) {
        ClassicInfoMarker *marker = ViewFactories::classicMarker(m_context, hotspot, this);
        if (!marker)
            continue;
        marker->stackUnder(m_previous);
        marker->show();
        m_markers.append({marker, hotspot});
    }
}

void ClassicMediaLayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void ClassicMediaLayer::setReservedAreas(const ReservedAreas &areas)
{
    if (areas.overlayColumn == m_reserved.overlayColumn && areas.thumbStrip == m_reserved.thumbStrip
        && areas.floorPlan == m_reserved.floorPlan && areas.informationPanel == m_reserved.informationPanel)
        return;
    m_reserved = areas;
    layOut();
}

void ClassicMediaLayer::reserveOwnAreas(ReservedAreas &areas) const
{
    areas.classicPrevious = m_previous->isHidden() ? QRect() : m_previous->geometry();
    areas.classicNext = m_next->isHidden() ? QRect() : m_next->geometry();
    const auto *caption = dynamic_cast<const ClassicCaptionBand *>(m_caption.data());
    areas.classicCaption = caption ? caption->textArea() : QRect();
}

void ClassicMediaLayer::layOut()
{
    m_slideshow->setGeometry(rect());
    if (m_caption) {
        const QRect panel = m_reserved.informationPanel;
        m_caption->setGeometry(0, 0, panel.isEmpty() ? width() : panel.left(),
                               m_reserved.thumbStrip.isEmpty() ? height() : m_reserved.thumbStrip.top());
    }
    placeMarkers();
    const QSize step = m_previous->sizeHint();
    int top = (height() - step.height()) / 2;
    // The next button shares the right edge with the floor plan: both rise
    // above it, but not into the overlay column.
    if (const QRect plan = m_reserved.floorPlan; !plan.isEmpty())
        top = std::min(top, plan.top() - clearance - step.height());
    if (const QRect column = m_reserved.overlayColumn; !column.isEmpty())
        top = std::max(top, column.bottom() + 1 + clearance);
    m_previous->setGeometry(previousLeadingPadding, top, step.width(), step.height());
    m_next->setGeometry(width() - nextTrailingPadding - step.width(), top, step.width(), step.height());
}

void ClassicMediaLayer::placeMarkers()
{
    const QRectF photo = fittedPhotoRect();
    for (const Marker &marker : std::as_const(m_markers)) {
        if (!marker.view)
            continue;
        // A classic hotspot's yaw and pitch are fractions of the photo.
        marker.view->moveCentreTo(QPointF(photo.left() + marker.hotspot.yaw * photo.width(),
                                          photo.top() + marker.hotspot.pitch * photo.height()));
    }
}
