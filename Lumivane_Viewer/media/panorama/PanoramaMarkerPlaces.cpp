#include "PanoramaMarkerPlaces.h"

#include "PanoramaHotspotNodes.h"
#include "scene/Scene.h"

#include <QVector4D>

#include <algorithm>

QList<PanoramaMarkerPlace> visibleMarkerPlaces(const Scene &scene, const SceneNode &hotspotsRoot, QSizeF viewport)
{
    QList<PanoramaMarkerPlace> places;
    if (viewport.isEmpty())
        return places;
    const QMatrix4x4 projection = scene.projection(viewport.width() / viewport.height());
    const QMatrix4x4 toClip = projection * scene.viewMatrix();
    // Pixels per unit of length at distance 1 along the view's axis.
    const double focal = projection(1, 1) * viewport.height() / 2;
    const double now = scene.clock().now();
    for (const auto &group : hotspotsRoot.children()) {
        const std::optional<QUuid> id = PanoramaHotspotNodes::idFromNodeName(group->name());
        if (!id)
            continue;
        const QVector4D clip = toClip * QVector4D(group->worldTransform(now).map(QVector3D()), 1.0f);
        if (clip.w() <= 0)
            continue;
        const double x = clip.x() / clip.w();
        const double y = clip.y() / clip.w();
        if (x < -1 || x > 1 || y < -1 || y > 1)
            continue;
        const QPointF centre((x + 1) / 2 * viewport.width(), (1 - y) / 2 * viewport.height());
        const double radius = PanoramaHotspotNodes::hitSphereRadius * focal / clip.w();
        places.append({*id, QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius))});
    }
    std::stable_sort(places.begin(), places.end(), [](const PanoramaMarkerPlace &a, const PanoramaMarkerPlace &b) {
        return a.rect.center().x() < b.rect.center().x();
    });
    return places;
}
