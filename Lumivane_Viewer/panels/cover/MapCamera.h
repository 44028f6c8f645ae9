#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

// Web-Mercator geometry of the cover's location map. World points are
// fractions of the Mercator square: x from the antimeridian eastwards, y from
// the top (about 85.05 degrees north) southwards, both 0 to 1.

namespace WebMercator {

/// The latitude where the square ends: the poles are never drawn.
constexpr double maxLatitude = 85.05112877980659;
/// Side of a tile in logical pixels.
constexpr double tileSide = 256.0;

/// The world point of a coordinate, clamped into the square: latitudes
/// beyond the square's edge, longitudes beyond ±180 and values that are not
/// finite (taken as 0) are drawn at the nearest point that exists.
QPointF worldPoint(double latitude, double longitude);
double latitudeAt(double worldY);
double longitudeAt(double worldX);

} // namespace WebMercator

/// What the visitor sees of the map: the world point at the card's centre, a
/// zoom level (the world is 256 * 2^zoom logical pixels wide) and a rotation
/// (degrees clockwise, 0 with north up). A value; the card keeps one for its
/// whole life, so rebuilds and resizes never move the map.
struct MapCamera
{
    static constexpr double minZoom = 1.0;
    static constexpr double maxZoom = 22.0;

    QPointF centre{0.5, 0.5};
    double zoom = minZoom;
    double rotation = 0.0;

    /// The camera that shows the whole square region of `spanDegrees` of
    /// latitude and of longitude around the coordinate inside a view of this
    /// size, north up.
    static MapCamera fitting(double latitude, double longitude, double spanDegrees, QSizeF viewSize);

    /// Side of the world square in logical pixels.
    double worldSide() const;
    /// Maps offsets from the centre in world pixels (world point minus
    /// centre, times worldSide()) to view pixels: rotation about the view's
    /// middle. Painting in these units keeps coordinates small at any zoom.
    QTransform offsetToView(QSizeF viewSize) const;
    /// Where a world point shows, its nearest copy east or west of the centre.
    QPointF viewPoint(QPointF world, QSizeF viewSize) const;
    QPointF worldPointAt(QPointF viewPoint, QSizeF viewSize) const;
    /// The world rectangle that covers the whole view, whatever the rotation.
    QRectF visibleWorld(QSizeF viewSize) const;

    /// Moves the map with the pointer by a view-pixel delta.
    void pan(QPointF viewDelta, QSizeF viewSize);
    /// Zooms by `levels` keeping the world point under `viewPoint` in place.
    void zoomAround(QPointF viewPoint, double levels, QSizeF viewSize);
    void rotateBy(double degrees);

private:
    void normalize();
};
