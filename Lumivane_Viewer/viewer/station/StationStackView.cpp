#include "viewer/station/StationStackView.h"

#include "panels/info/LumivaneInfoPanelView.h"
#include "viewer/ViewerLayerStack.h"
#include "viewer/chrome/ControlBar.h"
#include "viewer/chrome/HotspotInfoCard.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/BlackCover.h"
#include "viewer/station/ClassicMediaLayer.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "widgets/ViewerDialog.h"

#include <QApplication>
#include <QResizeEvent>

namespace {

constexpr int headerClearance = 12; // between the header's controls and the information panel

LayerPlacement at(Qt::Alignment alignment, QMargins margins, bool fillWidth = false)
{
    return {alignment, margins, fillWidth, false};
}

} // namespace

StationStackView::StationStackView(const ViewFactoryContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_stack(new ViewerLayerStack(this))
{
    setObjectName("stationView");
    addMediaLayers();
    addChromeParts();
    addPanelParts();
    // Keys reach the viewer through its one key handler, which asks the
    // controller; this layer holds no view.
    m_stack->layer(ViewerLayer::keyboardShortcuts).setClickThrough(true);
    render(ViewerAnimation::none());
}

StationStackView::~StationStackView() = default;

void StationStackView::addMediaLayers()
{
    OverlayLayer &background = m_stack->layer(ViewerLayer::background);
    background.addView(new BlackCover(1, &background), LayerPlacement::fill(), LayerTransition::none,
                       ViewerAnimation::none());
    OverlayLayer &mediaLayer = m_stack->layer(ViewerLayer::media);
    QWidget *media = nullptr;
    if (m_context.controller.project().renderMode == RenderMode::classic)
        media = m_classic = new ClassicMediaLayer(m_context, &mediaLayer);
    else
        media = m_panorama = new PanoramaMediaLayer(m_context.controller, m_context.services.imageCache,
                                                    *m_context.services.l10n, &mediaLayer);
    mediaLayer.addView(media, LayerPlacement::fill(), LayerTransition::none, ViewerAnimation::none());
    OverlayLayer &cover = m_stack->layer(ViewerLayer::transitionCover);
    cover.setClickThrough(true);
    m_transitionCover = new BlackCover(m_context.controller.state().transitionOpacity, &cover);
    m_transitionCover->setObjectName("transitionCover");
    cover.addView(m_transitionCover, LayerPlacement::fill(), LayerTransition::none, ViewerAnimation::none());
    // Over the panoramas the GL frame draws the black itself.
    if (m_panorama)
        m_transitionCover->drawWith([layer = QPointer<PanoramaMediaLayer>(m_panorama)](double opacity) {
            if (layer)
                layer->setCoverOpacity(opacity);
        });
}

void StationStackView::addChromeParts()
{
    const ViewerController &c = m_context.controller;
    m_stack->layer(ViewerLayer::watermark).setClickThrough(true);
    const bool watermarked = !c.project().watermarkText.value_or(QString()).trimmed().isEmpty();
    // The chrome's views fill the station view and place their controls themselves.
    addPart(ViewerLayer::watermark, [watermarked] { return watermarked; }, ViewFactories::watermark,
            LayerPlacement::fill(), LayerTransition::none);
    const auto chromeShown = [&c] { return !c.state().immersiveMode && !c.state().kioskActive; };
    addPart(ViewerLayer::headerAndControlBar, chromeShown, ViewFactories::header, LayerPlacement::fill());
    m_parts.back().reserves = &ReservedAreas::header;
    addPart(ViewerLayer::headerAndControlBar, chromeShown, ViewFactories::controlBar, LayerPlacement::fill());
    addPart(ViewerLayer::immersiveExit, [&c] { return c.state().immersiveMode; }, ViewFactories::immersiveExit,
            LayerPlacement::fill());
    m_parts.back().reserves = &ReservedAreas::header;
    addPart(ViewerLayer::kioskHeader, [&c] { return c.state().kioskActive; }, ViewFactories::kioskHeader,
            LayerPlacement::fill());
    m_parts.back().reserves = &ReservedAreas::header;
    addPart(ViewerLayer::infoCard, [&c] { return c.state().selectedInfoHotspot.has_value(); }, ViewFactories::infoCard,
            LayerPlacement::fill());
}

void StationStackView::addPanelParts()
{
    const ViewerController &c = m_context.controller;
    addPart(ViewerLayer::propertyInfo, [&c] { return c.state().showPropertyInfo; }, ViewFactories::propertyInfo,
            LayerPlacement::fill(), LayerTransition::moveFromTrailingEdge);
    m_parts.back().reserves = &ReservedAreas::informationPanel;
    const auto aidsShown = [&c] { return !c.state().immersiveMode && !c.state().kioskActive; };
    addPart(ViewerLayer::floorPlanAndThumbStrip, aidsShown, ViewFactories::floorPlan,
            at(Qt::AlignRight | Qt::AlignBottom, {0, 0, 20, 110}));
    m_parts.back().reserves = &ReservedAreas::floorPlan;
    addPart(ViewerLayer::floorPlanAndThumbStrip, [&c, aidsShown] { return aidsShown() && c.state().thumbBarVisible; },
            ViewFactories::thumbStrip, at(Qt::AlignBottom, {}, true), LayerTransition::moveFromBottomEdgeWithOpacity);
    m_parts.back().reserves = &ReservedAreas::thumbStrip;
    addPart(ViewerLayer::splash, [&c] { return c.state().showSplash; }, ViewFactories::splash, LayerPlacement::fill());
    addPart(ViewerLayer::lightbox, [&c] { return c.state().lightboxContent.has_value(); }, ViewFactories::lightbox,
            LayerPlacement::fill());
    addPart(ViewerLayer::feedback, [&c] { return c.state().showFeedback && c.feedbackRecipient().has_value(); },
            ViewFactories::feedback, LayerPlacement::fill());
    addPart(ViewerLayer::keyboardHelp, [&c] { return c.state().showKeyboardHelp; }, ViewFactories::keyboardHelp,
            LayerPlacement::fill());
    addPart(ViewerLayer::tableOfContents, [&c] { return c.state().showTableOfContents; }, ViewFactories::tableOfContents,
            LayerPlacement::fill());
}

void StationStackView::addPart(ViewerLayer layer, std::function<bool()> condition,
                               QWidget *(*factory)(const ViewFactoryContext &, QWidget *), LayerPlacement placement,
                               LayerTransition transition)
{
    Part part;
    part.layer = layer;
    part.condition = std::move(condition);
    part.build = [this, factory](QWidget *parent) { return factory(m_context, parent); };
    part.placement = placement;
    part.transition = transition;
    m_parts.push_back(std::move(part));
}

void StationStackView::render(ViewerAnimation animation)
{
    const ViewerState &state = m_context.controller.state();
    m_transitionCover->setOpacity(state.transitionOpacity, animation);
    if (m_panorama)
        m_panorama->refresh();
    if (m_classic)
        m_classic->refresh(animation);
    bool focusLost = false;
    for (Part &part : m_parts)
        focusLost |= renderPart(part, animation);
    updateReservedAreas();
    // Once every view that comes has come: the header, say, that replaces
    // the immersive mode's exit button that had the focus.
    if (focusLost)
        ViewerFocus::focusFirst(*this);
}

void StationStackView::setOverlayColumn(const QRect &column)
{
    m_overlayColumn = column;
    updateReservedAreas();
}

bool StationStackView::renderPart(Part &part, ViewerAnimation animation)
{
    const bool wanted = part.condition();
    if (wanted == part.shown)
        return false;
    part.shown = wanted;
    OverlayLayer &layer = m_stack->layer(part.layer);
    if (!wanted) {
        const bool heldFocus = part.view && ViewerFocus::holds(*part.view);
        // Back before the view goes: a view hidden with the focus inside hands
        // it to the next control first, which a screen reader would announce.
        const bool givenBack = heldFocus && part.focus.giveBack();
        if (part.view)
            layer.removeView(part.view, animation);
        part.view = nullptr;
        return heldFocus && !givenBack;
    }
    QWidget *focusBefore = QApplication::focusWidget();
    part.view = part.build(&layer);
    if (!part.view)
        return false;
    if (auto *bar = dynamic_cast<ControlBar *>(part.view.data()))
        bar->onButtonsPlaced = [this] { updateReservedAreas(); };
    else if (auto *chrome = dynamic_cast<ChromeLayer *>(part.view.data()); chrome && part.reserves)
        chrome->onControlsMoved = [this] { updateReservedAreas(); };
    shareReservedAreas(part.view);
    layer.addView(part.view, part.placement, part.transition, animation);
    // The plan folds and unfolds, and both move as the station view resizes.
    if (part.reserves)
        part.view->installEventFilter(this);
    if (dialogFocus(*part.view) && isVisible())
        part.focus.enter(*part.view, focusBefore);
    return false;
}

// From where the views that hold an area come to rest, so that nothing
// follows them while they move in. The information panel lies below the
// header first; the control bar and the classic media layer place their
// own from the areas around them; the info card then keeps clear of all.
void StationStackView::updateReservedAreas()
{
    ReservedAreas areas;
    areas.overlayColumn = m_overlayColumn;
    for (const Part &part : m_parts) {
        if (part.reserves == &ReservedAreas::header && part.view)
            areas.header |= heldArea(part);
    }
    placeInformationPanel(areas.header);
    for (const Part &part : m_parts) {
        if (part.reserves && part.reserves != &ReservedAreas::header && part.view)
            areas.*part.reserves = heldArea(part);
    }
    for (const Part &part : m_parts) {
        if (auto *bar = dynamic_cast<ControlBar *>(part.view.data())) {
            bar->setReservedAreas(areas);
            areas.controlBar = bar->buttonsArea();
        }
    }
    if (m_classic) {
        m_classic->setReservedAreas(areas);
        m_classic->reserveOwnAreas(areas);
    }
    if (areas == m_reserved)
        return;
    m_reserved = areas;
    for (const Part &part : m_parts)
        shareReservedAreas(part.view);
}

QRect StationStackView::heldArea(const Part &part) const
{
    const QRect resting = m_stack->layer(part.layer).restingGeometry(part.view);
    // A chrome layer fills the view and holds only where its controls lie;
    // the panel's backdrop dims what lies under it, its column hides it.
    if (const auto *chrome = dynamic_cast<const ChromeLayer *>(part.view.data()))
        return chrome->controlsArea().translated(resting.topLeft());
    if (const auto *panel = dynamic_cast<const LumivaneInfoPanelView *>(part.view.data()))
        return panel->columnGeometry().translated(resting.topLeft());
    return resting;
}

void StationStackView::placeInformationPanel(const QRect &header)
{
    for (const Part &part : m_parts) {
        if (auto *panel = dynamic_cast<LumivaneInfoPanelView *>(part.view.data()))
            panel->setTopInset(header.isEmpty() ? 0 : header.bottom() + 1 + headerClearance);
    }
}

void StationStackView::shareReservedAreas(QWidget *view) const
{
    if (auto *bar = dynamic_cast<ControlBar *>(view))
        bar->setReservedAreas(m_reserved);
    else if (auto *card = dynamic_cast<HotspotInfoCard *>(view))
        card->setReservedAreas(m_reserved);
}

bool StationStackView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        updateReservedAreas();
    return QWidget::eventFilter(watched, event);
}

QList<QWidget *> StationStackView::viewsOf(ViewerLayer layer) const
{
    return m_stack->layer(layer).views();
}

void StationStackView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_stack->setGeometry(rect());
    updateReservedAreas();
}
