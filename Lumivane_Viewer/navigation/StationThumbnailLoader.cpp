#include "StationThumbnailLoader.h"

#include "media/images/LumivaneImageCache.h"

#include <QFutureWatcher>
#include <QThread>
#include <QtConcurrent/qtconcurrenttask.h>

#include <cmath>

namespace {

constexpr int kSizeStep = 64;

// Half the cores decode thumbnails; the GUI thread and the panorama keep the rest.
int maximumRunning()
{
    return std::max(1, QThread::idealThreadCount() / 2);
}
// Panoramas are twice as wide as high: filling a cell asks that much width.
constexpr double kWidestPhotoAspect = 2.0;

} // namespace

StationThumbnailLoader::StationThumbnailLoader(std::shared_ptr<LumivaneImageCache> cache,
                                               StationPhotoResolver photoURLResolver, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cache))
    , m_photoURLResolver(std::move(photoURLResolver))
{
}

int StationThumbnailLoader::pixelSizeFor(QSizeF cell, qreal devicePixelRatio)
{
    const double longer = std::max(cell.width(), cell.height() * kWidestPhotoAspect) * devicePixelRatio;
    const int steps = std::max(1, int(std::ceil(longer / kSizeStep)));
    return steps * kSizeStep;
}

void StationThumbnailLoader::fitCells(QSizeF largestCell, qreal devicePixelRatio)
{
    const int pixelSize = pixelSizeFor(largestCell, devicePixelRatio);
    if (pixelSize == m_pixelSize)
        return;
    m_pixelSize = pixelSize;
    release({});
    want(QList<QUuid>(m_wanted));
}

void StationThumbnailLoader::want(const QList<QUuid> &stationIDs)
{
    m_wanted = stationIDs;
    const QSet<QUuid> kept(stationIDs.cbegin(), stationIDs.cend());
    release(kept);
    m_queue.clear();
    for (const QUuid &stationID : stationIDs) {
        if (!m_images.contains(stationID) && !m_pending.contains(stationID) && !m_withoutPhoto.contains(stationID))
            m_queue.append(stationID);
    }
    pump();
}

QPixmap StationThumbnailLoader::tile(const QUuid &stationID, QSizeF cell, qreal devicePixelRatio,
                                     double cornerRadius)
{
    const auto image = m_images.constFind(stationID);
    if (image == m_images.constEnd())
        return {};
    return m_tiles.tile(stationID, *image, cell, devicePixelRatio, cornerRadius);
}

void StationThumbnailLoader::pump()
{
    while (m_running < maximumRunning() && !m_queue.isEmpty())
        request(m_queue.takeFirst());
}

void StationThumbnailLoader::release(const QSet<QUuid> &kept)
{
    for (auto pending = m_pending.begin(); pending != m_pending.end();) {
        if (kept.contains(pending.key())) {
            ++pending;
            continue;
        }
        pending.value()->store(true);
        pending = m_pending.erase(pending);
    }
    m_images.removeIf([&](const auto &entry) { return !kept.contains(entry.key()); });
    m_tiles.keepOnly(kept);
}

void StationThumbnailLoader::request(const QUuid &stationID)
{
    const std::optional<QUrl> url = photoURL(stationID);
    if (!url) {
        m_withoutPhoto.insert(stationID);
        return;
    }
    // Even a thumbnail the store holds comes through the pool: the GUI
    // thread never risks a decode.
    auto flag = std::make_shared<std::atomic_bool>(false);
    m_pending.insert(stationID, flag);
    ++m_running;
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, stationID, flag] {
        watcher->deleteLater();
        arrive(stationID, flag, watcher->result());
    });
    watcher->setFuture(QtConcurrent::task([cache = m_cache, url = *url, size = m_pixelSize, flag] {
                           // Cells scrolled past before their turn cost nothing.
                           return flag->load() ? QImage() : cache->lowResImage(url, size);
                       })
                           .onThreadPool(*LumivaneImageCache::pool())
                           .withPriority(LumivaneImageCache::userInitiatedPriority)
                           .spawn());
}

void StationThumbnailLoader::arrive(const QUuid &stationID, const CancelFlag &flag, const QImage &image)
{
    --m_running;
    pump();
    // Let go of, or asked again since: a newer request owns the entry.
    if (m_pending.value(stationID) != flag)
        return;
    m_pending.remove(stationID);
    if (image.isNull()) {
        m_withoutPhoto.insert(stationID);
        return;
    }
    m_images.insert(stationID, image);
    if (onThumbnailReady)
        onThumbnailReady(stationID);
}

std::optional<QUrl> StationThumbnailLoader::photoURL(const QUuid &stationID)
{
    auto known = m_urls.constFind(stationID);
    if (known == m_urls.constEnd())
        known = m_urls.insert(stationID, m_photoURLResolver ? m_photoURLResolver(stationID) : std::nullopt);
    return *known;
}
