#pragma once

#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "media/panorama/PanoramaHotspotNodes.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUuid>

// Photos and views for the panorama tests, made by code.
namespace PanoramaFixtures {

// An equirectangular photo whose colour tells where a pixel came from: red
// grows with the column, green with the row, blue is constant.
inline QImage gradientPhoto(int width = 1024, int height = 512)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255 + width / 2) / (width - 1), (y * 255 + height / 2) / (height - 1), 128);
    }
    return image;
}

// A cache of the test's own, with room for a few large photos.
inline std::shared_ptr<LumivaneImageCache> photoCache()
{
    return LumivaneImageCache::create({10, qint64(512) << 20, qint64(64) << 20});
}

inline QUrl writePhoto(const QTemporaryDir &dir, const QString &name, const QImage &image)
{
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return QUrl::fromLocalFile(path);
}

inline Hotspot navigationHotspot(double yaw, double pitch, QUuid target = QUuid::createUuid())
{
    Hotspot hotspot;
    hotspot.id = QUuid::createUuid();
    hotspot.kind = HotspotKind::navigation;
    hotspot.yaw = yaw;
    hotspot.pitch = pitch;
    hotspot.targetStationID = target;
    return hotspot;
}

// The marker group of a hotspot that the view draws, found by its name; none
// while the view draws no marker for it.
inline const SceneNode *markerNode(const SceneNode &node, const QUuid &hotspotID)
{
    if (node.name() == PanoramaHotspotNodes::nodeName(hotspotID))
        return &node;
    for (const auto &child : node.children()) {
        if (const SceneNode *found = markerNode(*child, hotspotID))
            return found;
    }
    return nullptr;
}

inline const SceneNode *markerNode(const Panorama360ViewerView &view, const QUuid &hotspotID)
{
    return markerNode(view.sphere(), hotspotID);
}

inline bool waitForPhoto(Panorama360ViewerView &view, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&view] { return !view.isLoadingPhoto(); }, timeoutMs);
}

} // namespace PanoramaFixtures
