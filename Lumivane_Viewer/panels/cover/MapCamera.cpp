#include "MapCamera.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace WebMercator {

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

} // namespace

QPointF worldPoint(double latitude, double longitude)
{
    const double lat = std::clamp(finiteOrZero(latitude), -maxLatitude, maxLatitude);
    const double lon = std::clamp(finiteOrZero(longitude), -180.0, 180.0);
    const double x = (lon + 180.0) / 360.0;
    const double y = 0.5 - std::log(std::tan(std::numbers::pi / 4 + radians(lat) / 2)) / (2 * std::numbers::pi);
    return {x, std::clamp(y, 0.0, 1.0)};
}

double latitudeAt(double worldY)
{
    return degrees(2 * std::atan(std::exp((0.5 - worldY) * 2 * std::numbers::pi)) - std::numbers::pi / 2);
}

double longitudeAt(double worldX)
{
    return worldX * 360.0 - 180.0;
}

} // namespace WebMercator

MapCamera MapCamera::fitting(double latitude, double longitude, double spanDegrees, QSizeF viewSize)
{
    MapCamera camera;
    camera.centre = WebMercator::worldPoint(latitude, longitude);
    const double lat = WebMercator::latitudeAt(camera.centre.y());
    const double north = WebMercator::worldPoint(lat + spanDegrees / 2, 0).y();
    const double south = WebMercator::worldPoint(lat - spanDegrees / 2, 0).y();
    const double spanX = spanDegrees / 360.0;
    const double spanY = std::max(south - north, 1e-12);
    const QSizeF view = viewSize.isEmpty() ? QSizeF(1, 1) : viewSize;
    const double side = std::min(view.width() / spanX, view.height() / spanY);
    camera.zoom = std::log2(side / WebMercator::tileSide);
    camera.normalize();
    return camera;
}

double MapCamera::worldSide() const
{
    return WebMercator::tileSide * std::exp2(zoom);
}

QTransform MapCamera::offsetToView(QSizeF viewSize) const
{
    QTransform transform;
    transform.translate(viewSize.width() / 2, viewSize.height() / 2);
    transform.rotate(rotation);
    return transform;
}

QPointF MapCamera::viewPoint(QPointF world, QSizeF viewSize) const
{
    // The world repeats east and west: the nearest copy of the point is shown.
    const QPointF offset(std::remainder(world.x() - centre.x(), 1.0), world.y() - centre.y());
    return offsetToView(viewSize).map(offset * worldSide());
}

QPointF MapCamera::worldPointAt(QPointF point, QSizeF viewSize) const
{
    return centre + offsetToView(viewSize).inverted().map(point) / worldSide();
}

QRectF MapCamera::visibleWorld(QSizeF viewSize) const
{
    const QPolygonF corners{QPointF(0, 0), QPointF(viewSize.width(), 0), QPointF(viewSize.width(), viewSize.height()),
                            QPointF(0, viewSize.height())};
    const QTransform toOffset = offsetToView(viewSize).inverted();
    const QRectF offsets = toOffset.map(corners).boundingRect();
    const double side = worldSide();
    return QRectF(centre + offsets.topLeft() / side, offsets.size() / side);
}

void MapCamera::pan(QPointF viewDelta, QSizeF viewSize)
{
    const QTransform toOffset = offsetToView(viewSize).inverted();
    const QPointF offset = toOffset.map(viewDelta) - toOffset.map(QPointF(0, 0));
    centre -= offset / worldSide();
    normalize();
}

void MapCamera::zoomAround(QPointF point, double levels, QSizeF viewSize)
{
    const QPointF anchor = worldPointAt(point, viewSize);
    const double before = zoom;
    zoom = std::clamp(zoom + levels, minZoom, maxZoom);
    if (zoom == before)
        return;
    // Keep `anchor` under the pointer: its offset from the centre scales with the world.
    const double factor = std::exp2(before - zoom);
    centre = anchor + (centre - anchor) * factor;
    normalize();
}

void MapCamera::rotateBy(double degrees)
{
    rotation = std::remainder(rotation + degrees, 360.0);
}

void MapCamera::normalize()
{
    if (!std::isfinite(zoom))
        zoom = minZoom;
    zoom = std::clamp(zoom, minZoom, maxZoom);
    // Longitude wraps round the world; latitude stops at the square's edge.
    const double x = std::isfinite(centre.x()) ? centre.x() - std::floor(centre.x()) : 0.5;
    const double y = std::isfinite(centre.y()) ? std::clamp(centre.y(), 0.0, 1.0) : 0.5;
    centre = QPointF(x, y);
}
