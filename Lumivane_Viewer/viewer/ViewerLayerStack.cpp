#include "viewer/ViewerLayerStack.h"

#include <QResizeEvent>

#include <algorithm>

ViewerLayerStack::ViewerLayerStack(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    for (ViewerLayer which : allViewerLayers) {
        OverlayLayer *&slot = m_layers[std::size_t(which)];
        slot = new OverlayLayer(this);
        slot->setObjectName(QStringLiteral("viewerLayer%1").arg(int(which) + 1));
        // Each one above all before it.
        slot->raise();
    }
}

OverlayLayer &ViewerLayerStack::layer(ViewerLayer which) const
{
    return *m_layers[std::size_t(which)];
}

QList<ViewerLayer> ViewerLayerStack::stackingOrder() const
{
    QList<ViewerLayer> order;
    for (QObject *child : children()) {
        const auto found = std::find(m_layers.cbegin(), m_layers.cend(), child);
        if (found != m_layers.cend())
            order << ViewerLayer(found - m_layers.cbegin());
    }
    return order;
}

void ViewerLayerStack::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (OverlayLayer *layer : m_layers)
        layer->setGeometry(rect());
}
