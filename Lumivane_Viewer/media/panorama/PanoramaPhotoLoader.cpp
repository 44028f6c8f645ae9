#include "PanoramaPhotoLoader.h"

#include "media/images/LumivaneImageCache.h"

#include <QCoreApplication>
#include <QHash>
#include <QtConcurrent/QtConcurrent>

namespace {

struct Running
{
    QFuture<QImage> future;
    quint64 serial = 0;
};

} // namespace

QFuture<QImage> PanoramaPhotoLoader::load(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url)
{
    // An entry is only shared while its decode runs, and a running decode
    // holds its cache: no other cache can have that address meanwhile.
    using Key = std::pair<const LumivaneImageCache *, QString>;
    static QHash<Key, Running> running;
    static quint64 lastSerial = 0;
    const Key key{cache.get(), LumivaneImageCache::key(url)};
    const auto it = running.constFind(key);
    if (it != running.cend() && !it->future.isFinished())
        return it->future;
    QFuture<QImage> future = QtConcurrent::task([cache = std::move(cache), url] { return cache->image(url); })
                                 .onThreadPool(*LumivaneImageCache::pool())
                                 .withPriority(LumivaneImageCache::utilityPriority)
                                 .spawn();
    const quint64 serial = ++lastSerial;
    running.insert(key, {future, serial});
    // A finished decode leaves the table at once: its photo belongs to the
    // image cache, which may let it go, and not to this table.
    future.then(QCoreApplication::instance(), [key, serial](const QImage &) {
        const auto entry = running.constFind(key);
        if (entry != running.cend() && entry->serial == serial)
            running.erase(entry);
    });
    return future;
}
