#include "PanoramaPhotoLoader.h"

#include "LumivaneImageCache.h"

#include <QHash>
#include <QtConcurrent/QtConcurrent>

namespace {

QImage decodeAndStore(QUrl url)
{
    const QImage image = LumivaneImageCache::decodeFile(url.toLocalFile());
    if (!image.isNull())
        LumivaneImageCache::shared()->cache().setObject(image, LumivaneImageCache::key(url));
    return image;
}

} // namespace

QFuture<QImage> PanoramaPhotoLoader::load(const QUrl &url)
{
    static QHash<QString, QFuture<QImage>> running;
    const QString key = LumivaneImageCache::key(url);
    const auto it = running.constFind(key);
    if (it != running.cend() && !it->isFinished())
        return *it;
    QFuture<QImage> future = QtConcurrent::task([url] { return decodeAndStore(url); })
                                 .onThreadPool(*LumivaneImageCache::pool())
                                 .withPriority(LumivaneImageCache::utilityPriority)
                                 .spawn();
    running.insert(key, future);
    // Finished entries are only replaced, never looked at again; drop them
    // now and then so that the table stays small.
    if (running.size() > 16)
        running.removeIf([](const auto &entry) { return entry.value().isFinished(); });
    return future;
}
