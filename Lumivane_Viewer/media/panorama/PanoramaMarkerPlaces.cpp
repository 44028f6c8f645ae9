#include "PanoramaMarkerPlaces.h"

#include "PanoramaHotspotNodes.h"
#include "scene/Scene.h"

#include <QVector4D>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The projection of a view of size `viewport`, from the frame of the markers.
struct MarkerProjection
{
    QMatrix4x4 toClip;
    double focal = 0; // pixels per unit of length at distance 1 along the view's axis

    MarkerProjection(const Scene &scene, const SceneNode &hotspotsRoot, QSizeF viewport)
    {
        const QMatrix4x4 projection = scene.projection(viewport.width() / viewport.height());
        toClip = projection * scene.viewMatrix() * hotspotsRoot.worldTransform(scene.clock().now());
        focal = projection(1, 1) * viewport.height() / 2;
    }

    std::optional<QRectF> rect(QVector3D position, QSizeF viewport, bool inViewOnly) const
    {
        const QVector4D clip = toClip * QVector4D(position, 1.0f);
        if (clip.w() <= 0)
            return std::nullopt;
        const double x = clip.x() / clip.w();
        const double y = clip.y() / clip.w();
        if (inViewOnly && (x < -1 || x > 1 || y < -1 || y > 1))
            return std::nullopt;
        const QPointF centre((x + 1) / 2 * viewport.width(), (1 - y) / 2 * viewport.height());
        const double radius = PanoramaHotspotNodes::hitSphereRadius * focal / clip.w();
        return QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    }
};

} // namespace

QList<PanoramaMarkerPlace> visibleMarkerPlaces(const Scene &scene, const SceneNode &hotspotsRoot, QSizeF viewport)
{
    QList<PanoramaMarkerPlace> places;
    if (viewport.isEmpty())
        return places;
    const MarkerProjection projection(scene, hotspotsRoot, viewport);
    for (const auto &group : hotspotsRoot.children()) {
        const std::optional<QUuid> id = PanoramaHotspotNodes::idFromNodeName(group->name());
        if (!id)
            continue;
        const SceneVector p = group->position();
        const QVector3D position(float(p.x), float(p.y), float(p.z));
        if (const std::optional<QRectF> rect = projection.rect(position, viewport, true))
            places.append({*id, *rect});
    }
    std::stable_sort(places.begin(), places.end(), [](const PanoramaMarkerPlace &a, const PanoramaMarkerPlace &b) {
        return a.rect.center().x() < b.rect.center().x();
    });
    return places;
}

std::optional<QRectF> markerRect(const Scene &scene, const SceneNode &hotspotsRoot, QVector3D position,
                                 QSizeF viewport)
{
    if (viewport.isEmpty())
        return std::nullopt;
    return MarkerProjection(scene, hotspotsRoot, viewport).rect(position, viewport, false);
}

QList<qsizetype> markerRoundOrder(const QList<Hotspot> &hotspots, std::optional<double> initialYaw)
{
    constexpr double pi = std::numbers::pi;
    const double firstYaw = initialYaw.value_or(pi) - pi / 2;
    QList<std::pair<double, qsizetype>> round; // clockwise from the first yaw, hotspot
    for (qsizetype index = 0; index < hotspots.size(); ++index) {
        if (hotspots[index].isPending)
            continue;
        double angle = std::fmod(hotspots[index].yaw - firstYaw, 2 * pi);
        if (angle < 0)
            angle += 2 * pi;
        round.append({angle, index});
    }
    std::stable_sort(round.begin(), round.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<qsizetype> order;
    order.reserve(round.size());
    for (const auto &[angle, index] : round)
        order.append(index);
    return order;
}
