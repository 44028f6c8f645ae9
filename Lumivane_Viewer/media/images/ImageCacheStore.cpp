#include "ImageCacheStore.h"

#include <QMutexLocker>

ImageCacheStore::ImageCacheStore(int countLimit, qint64 byteBudget)
    : m_countLimit(countLimit)
    , m_byteBudget(byteBudget)
{
}

QImage ImageCacheStore::object(const QString &key) const
{
    QMutexLocker locker(&m_mutex);
    const auto found = m_index.constFind(key);
    if (found == m_index.constEnd())
        return {};
    m_order.splice(m_order.begin(), m_order, found.value());
    return found.value()->image;
}

bool ImageCacheStore::contains(const QString &key) const
{
    QMutexLocker locker(&m_mutex);
    return m_index.contains(key);
}

void ImageCacheStore::setObject(const QImage &image, const QString &key)
{
    QMutexLocker locker(&m_mutex);
    const auto found = m_index.find(key);
    if (found != m_index.end())
        removeLocked(found.value());
    const qint64 bytes = image.sizeInBytes();
    if (image.isNull() || bytes > m_byteBudget)
        return;
    m_order.push_front(Entry{key, image, bytes});
    m_index.insert(key, m_order.begin());
    m_totalBytes += bytes;
    evictLocked();
}

void ImageCacheStore::removeAllObjects()
{
    QMutexLocker locker(&m_mutex);
    m_order.clear();
    m_index.clear();
    m_totalBytes = 0;
}

int ImageCacheStore::count() const
{
    QMutexLocker locker(&m_mutex);
    return int(m_index.size());
}

qint64 ImageCacheStore::totalBytes() const
{
    QMutexLocker locker(&m_mutex);
    return m_totalBytes;
}

void ImageCacheStore::removeLocked(Order::iterator entry)
{
    m_totalBytes -= entry->bytes;
    m_index.remove(entry->key);
    m_order.erase(entry);
}

void ImageCacheStore::evictLocked()
{
    const auto overLimit = [this] {
        return m_totalBytes > m_byteBudget || (m_countLimit > 0 && m_index.size() > m_countLimit);
    };
    while (overLimit() && !m_order.empty())
        removeLocked(std::prev(m_order.end()));
}
