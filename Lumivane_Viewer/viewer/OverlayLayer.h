#pragma once

#include "model/AnimationCurve.h"

#include <QList>
#include <QMargins>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QGraphicsOpacityEffect;
class QVariantAnimation;

/// Where a view sits in a layer that covers the whole viewer.
struct LayerPlacement
{
    Qt::Alignment alignment = Qt::AlignCenter;
    QMargins margins;        // kept free between the layer's edges and the view
    bool fillWidth = false;  // else the view's size hint, bounded by the layer
    bool fillHeight = false;

    /// The whole layer.
    static LayerPlacement fill() { return {Qt::AlignCenter, {}, true, true}; }
};

/// How a view enters and leaves its layer.
enum class LayerTransition {
    none,
    opacity,
    moveFromTrailingEdge,
    moveFromBottomEdgeWithOpacity,
    moveFromTopEdgeWithOpacity,
};

/// A see-through layer as large as the viewer that places views at their
/// LayerPlacement and lets them enter and leave with a transition. Clicks
/// on its empty parts reach what lies below: its mask is the union of its
/// views, each by its own mask when it has one (a view that fills the layer
/// and keeps only its controls), without those that take no clicks; or the
/// whole layer lets every click through. A view whose contents margins hold
/// a shadow is placed by its contents rectangle. Fades use an opacity
/// effect only while they run, since everything over the panorama is
/// composed again on each of its frames. Knows nothing of tours.
class OverlayLayer final : public QWidget
{
public:
    explicit OverlayLayer(QWidget *parent = nullptr);
    ~OverlayLayer() override;

    /// Takes the view (it becomes a child) and shows it, entering under the animation.
    void addView(QWidget *view, LayerPlacement placement, LayerTransition transition, ViewerAnimation animation);
    /// Lets the view leave under the animation, then deletes it.
    void removeView(QWidget *view, ViewerAnimation animation);

    /// Every click passes through the layer, its views included.
    void setClickThrough(bool clickThrough);

    /// The views shown or still leaving, in the order they came.
    QList<QWidget *> views() const;
    bool isLeaving(const QWidget *view) const;
    /// Where a view of the layer sits once it has entered; empty for others.
    QRect restingGeometry(const QWidget *view) const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Entry;

    Entry *find(const QWidget *view) const;
    void animate(Entry &entry, double target, ViewerAnimation animation);
    void finishLeaving(QWidget *view);
    void applyOpacity(Entry &entry);
    void relayout();
    QRect placedGeometry(const Entry &entry) const;
    QRect restingGeometry(const Entry &entry) const;
    void watch(QObject *object);
    void scheduleMaskUpdate();
    void updateMask();

    std::vector<std::unique_ptr<Entry>> m_entries;
    bool m_clickThrough = false;
    bool m_maskUpdatePending = false;
};
