#pragma once

#include "model/AnimationCurve.h"
#include "viewer/OverlayLayer.h"
#include "viewer/ViewerFocus.h"
#include "viewer/ViewerLayer.h"
#include "viewer/ViewFactories.h"
#include "viewer/chrome/ReservedAreas.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class BlackCover;
class ClassicMediaLayer;
class PanoramaMediaLayer;
class ViewerLayerStack;

/// The station view: the viewer's layers filled from the controller's
/// state. The media layer (panorama, VR pair or classic slideshow), the
/// black cover of station changes and the watermark are its own; every
/// other layer shows the view its factory (ViewFactories) builds, from the
/// moment its condition holds until it no longer does, entering and
/// leaving under the animation of the change. The control bar and the info
/// card keep clear of the areas that the floor plan, the thumbnail strip
/// and the sheet's overlay column hold; the information panel lies below
/// the header's controls. A view that is a dialog takes the
/// keyboard focus as it opens and gives it back as it goes. Keeps no state
/// of its own.
class StationStackView final : public QWidget
{
public:
    StationStackView(const ViewFactoryContext &context, QWidget *parent = nullptr);
    ~StationStackView() override;

    /// Brings every layer in line with the controller's state.
    void render(ViewerAnimation animation);
    /// Where the sheet's language picker and audio-guide button stand, in
    /// this view's coordinates.
    void setOverlayColumn(const QRect &column);

    ViewerLayerStack &stack() const { return *m_stack; }
    /// The views a layer shows now (leaving ones included).
    QList<QWidget *> viewsOf(ViewerLayer layer) const;
    BlackCover *transitionCover() const { return m_transitionCover; }
    /// The media layer of a panorama tour; null in a classic tour.
    PanoramaMediaLayer *panoramaLayer() const { return m_panorama; }
    /// The media layer of a classic tour; null in a panorama tour.
    ClassicMediaLayer *classicLayer() const { return m_classic; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Part
    {
        ViewerLayer layer;
        std::function<bool()> condition;
        std::function<QWidget *(QWidget *parent)> build;
        LayerPlacement placement;
        LayerTransition transition = LayerTransition::opacity;
        QPointer<QWidget> view;
        bool shown = false;
        FocusReturn focus;
        QRect ReservedAreas::*reserves = nullptr; // the area its view holds, if any
    };

    void addPart(ViewerLayer layer, std::function<bool()> condition,
                 QWidget *(*factory)(const ViewFactoryContext &, QWidget *), LayerPlacement placement,
                 LayerTransition transition = LayerTransition::opacity);
    void addMediaLayers();
    void addChromeParts();
    void addPanelParts();
    /// Whether the focus was in the view and could not go back where it was.
    bool renderPart(Part &part, ViewerAnimation animation);
    void updateReservedAreas();
    /// Where a part's view holds, in this view's coordinates, once at rest.
    QRect heldArea(const Part &part) const;
    /// The panel, backdrop and column, below the header's controls.
    void placeInformationPanel(const QRect &header);
    void shareReservedAreas(QWidget *view) const;

    ViewFactoryContext m_context;
    ViewerLayerStack *m_stack;
    BlackCover *m_transitionCover = nullptr;
    PanoramaMediaLayer *m_panorama = nullptr;
    ClassicMediaLayer *m_classic = nullptr;
    std::vector<Part> m_parts;
    QRect m_overlayColumn;
    ReservedAreas m_reserved;
};
