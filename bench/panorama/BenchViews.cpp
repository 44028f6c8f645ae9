#include "BenchViews.h"

#include <numbers>

namespace {

QList<Hotspot> twentyHotspots()
{
    QList<Hotspot> hotspots;
    for (int i = 0; i < 20; ++i) {
        Hotspot hotspot;
        hotspot.id = QUuid::createUuid();
        hotspot.kind = i % 4 == 0 ? HotspotKind::info : HotspotKind::navigation;
        // Spread over the visible part of the view so that all of them draw.
        hotspot.yaw = std::numbers::pi + (i % 5 - 2) * 0.3;
        hotspot.pitch = (i / 5 - 1.5) * 0.25;
        hotspot.targetStationID = QUuid::createUuid();
        hotspots << hotspot;
    }
    return hotspots;
}

const SceneTexture *sphereTexture(Panorama360ViewerView &view)
{
    return view.coordinator().sphereNode->geometry()->firstMaterial().texture.get();
}

} // namespace

namespace BenchViews {

Panorama360ViewerView::Inputs viewInputs(const QUrl &url)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = url;
    inputs.hotspots = twentyHotspots();
    for (const Hotspot &hotspot : inputs.hotspots)
        inputs.stationNames.insert(hotspot.targetStationID, QStringLiteral("Station %1").arg(hotspot.yaw, 0, 'f', 1));
    return inputs;
}

bool fullyShown(Panorama360ViewerView &view)
{
    const SceneNode *sphere = view.coordinator().sphereNode;
    return !view.isLoadingPhoto() && sphere->opacity() >= 1.0 && !sphere->hasAction(QStringLiteral("fade"));
}

bool photoShown(Panorama360ViewerView &view)
{
    return sphereTexture(view) && view.coordinator().sphereNode->opacity() >= 0.5;
}

bool fullResolutionShown(Panorama360ViewerView &view)
{
    return photoShown(view) && !view.isLoadingPhoto();
}

} // namespace BenchViews
