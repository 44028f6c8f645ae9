#pragma once

#include "media/panorama/Panorama360ViewerView.h"
#include "media/panorama/PanoramaHotspotNodes.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

// Looks at panoramas as a visitor sees them: where a hotspot's marker is
// on screen, and what colour a point of a window shows.
namespace PanoramaProbe {

/// A point of the view (its own coordinates) where a click hits the
/// hotspot's marker, searched on a grid; none while the marker is not in view.
inline std::optional<QPoint> hotspotPoint(Panorama360ViewerView &view, const QUuid &hotspotID, int step = 6)
{
    const QSizeF size = view.size();
    for (int y = step / 2; y < view.height(); y += step) {
        for (int x = step / 2; x < view.width(); x += step) {
            for (const SceneHit &hit : view.scene().hitTest(QPointF(x, y), size)) {
                for (const SceneNode *node = hit.node; node; node = node->parent()) {
                    if (PanoramaHotspotNodes::idFromNodeName(node->name()) == hotspotID)
                        return QPoint(x, y);
                }
            }
        }
    }
    return std::nullopt;
}

/// The colour at a point of a widget as it is drawn now, panoramas and
/// everything over them included. Rendered from the widgets, not read from
/// the screen, so windows of tests running beside it do not matter.
inline QColor screenColor(QWidget &widget, QPoint point)
{
    return widget.grab(QRect(point, QSize(1, 1))).toImage().pixelColor(0, 0);
}

inline bool isNear(const QColor &color, const QColor &expected, int tolerance = 24)
{
    return std::abs(color.red() - expected.red()) <= tolerance
           && std::abs(color.green() - expected.green()) <= tolerance
           && std::abs(color.blue() - expected.blue()) <= tolerance;
}

} // namespace PanoramaProbe
