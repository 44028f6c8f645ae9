#pragma once

#include "RoomScene.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>

#include <array>
#include <functional>
#include <optional>

/// A direction seen from the camera, in radians: yaw grows clockwise from the
/// North wall (to the viewer's right), pitch grows upward from the horizon.
struct ViewDirection
{
    double yaw = 0.0;
    double pitch = 0.0;
};

/// Ray-casts one RoomScene into photos: a full equirectangular panorama or a
/// flat perspective view. The walls, floor and ceiling are painted once into
/// textures when the renderer is made; rendering then samples them from many
/// threads at once, one band of rows per task.
///
/// Equirectangular layout: column u (0 at the left edge, 1 at the right) looks
/// at yaw = (u - 0.5) * 2 pi, so North is in the middle, East at three quarters,
/// West at one quarter and South on the seam; row v looks at pitch
/// (0.5 - v) * pi. Knows nothing of tours or packages.
class RoomRenderer
{
public:
    RoomRenderer(RoomScene scene, double pixelsPerMetre);

    /// A width x width/2 panorama.
    QImage renderEquirectangular(int width) const;
    /// A level view of the given horizontal field of view (radians) facing yaw.
    QImage renderPerspective(QSize size, double yaw, double horizontalFov) const;

    /// Where a wall feature's centre lies as seen from the camera (a door at
    /// its handle height, a plaque at its middle).
    ViewDirection directionOf(const WallFeature &feature) const;
    /// The position of a direction on a perspective view made with the same
    /// arguments, as fractions of the width and height from the top-left
    /// corner; nothing when it falls outside the picture.
    static std::optional<QPointF> perspectivePosition(ViewDirection direction, QSize size, double yaw,
                                                      double horizontalFov);

    const RoomScene &scene() const { return m_scene; }

private:
    void paintWall(Wall wall);
    void paintFloor();
    void paintCeiling();
    void paintDoor(QPainter &painter, double centre, const QString &label) const;
    void paintPlaque(QPainter &painter, double centre, const QString &label) const;
    void paintCompassTicks(QPainter &painter, Wall wall) const;
    double wallLength(Wall wall) const;
    QPointF wallPointToPlan(Wall wall, double alongMetres) const;
    QRgb shade(double dx, double dy, double dz, double lineWidth) const;
    QRgb shadeSky(double dx, double dy, double dz, double lineWidth) const;
    static void renderBands(QImage &image, const std::function<void(int row, QRgb *line)> &renderRow);

    RoomScene m_scene;
    double m_ppm;
    std::array<QImage, 4> m_walls;
    QImage m_floor;
    QImage m_ceiling;
};
