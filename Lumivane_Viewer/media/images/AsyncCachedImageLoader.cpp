#include "AsyncCachedImageLoader.h"

#include "LumivaneImageCache.h"

#include <QFutureWatcher>
#include <QtConcurrent/qtconcurrenttask.h>

AsyncCachedImageLoader::AsyncCachedImageLoader(std::shared_ptr<LumivaneImageCache> cache, QSize bound, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cache))
    , m_bound(bound)
{
    Q_ASSERT(m_cache);
}

void AsyncCachedImageLoader::setUrl(const std::optional<QUrl> &url)
{
    if (url == m_url)
        return;
    m_url = url;
    load();
}

void AsyncCachedImageLoader::load()
{
    const quint64 generation = ++m_generation;
    if (!m_url) {
        setImage(QImage());
        return;
    }
    // A hit is a store look-up only, never a file read.
    if (const QImage cached = m_cache->lookup(*m_url); !cached.isNull()) {
        handOver(cached);
        return;
    }
    setImage(QImage()); // the placeholder, not the previous photo, while loading

    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        // A newer URL may have been set while this one decoded.
        const QImage decoded = watcher->result();
        watcher->deleteLater();
        if (generation == m_generation && !decoded.isNull())
            handOver(decoded);
    });
    watcher->setFuture(QtConcurrent::task([cache = m_cache, url = *m_url, bound = m_bound] { return cache->image(url, bound); })
                           .onThreadPool(*LumivaneImageCache::pool())
                           .withPriority(LumivaneImageCache::userInitiatedPriority)
                           .spawn());
}

void AsyncCachedImageLoader::setImage(const QImage &image)
{
    const bool changed = image.cacheKey() != m_image.cacheKey() || image.isNull() != m_image.isNull();
    m_image = image;
    if (changed && onImageChanged)
        onImageChanged(m_image);
}

void AsyncCachedImageLoader::handOver(const QImage &image)
{
    setImage(image);
    if (onImageLoaded)
        onImageLoaded(image);
}
