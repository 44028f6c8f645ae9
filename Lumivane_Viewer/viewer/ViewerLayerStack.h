#pragma once

#include "viewer/OverlayLayer.h"
#include "viewer/ViewerLayer.h"

#include <QList>
#include <QWidget>

#include <array>

/// The layers of the station view, each as large as the stack, stacked in
/// the order of ViewerLayer and nowhere else. What each layer shows, and
/// when, is its owner's.
class ViewerLayerStack final : public QWidget
{
public:
    explicit ViewerLayerStack(QWidget *parent = nullptr);

    OverlayLayer &layer(ViewerLayer which) const;
    /// The layers from back to front as the window stacks them now.
    QList<ViewerLayer> stackingOrder() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::array<OverlayLayer *, allViewerLayers.size()> m_layers{};
};
