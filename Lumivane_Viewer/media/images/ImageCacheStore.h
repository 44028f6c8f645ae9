#pragma once

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QString>

#include <list>

/// A thread-safe store of decoded images by text key, bounded by an entry
/// count and by a byte budget; the least recently used entry leaves first.
/// Knows nothing of files or URLs: the image cache decides the keys.
class ImageCacheStore final
{
public:
    /// countLimit 0 means no count limit; the byte budget always applies.
    ImageCacheStore(int countLimit, qint64 byteBudget);

    ImageCacheStore(const ImageCacheStore &) = delete;
    ImageCacheStore &operator=(const ImageCacheStore &) = delete;

    /// The stored image, or a null image when the key has none.
    QImage object(const QString &key) const;
    bool contains(const QString &key) const;
    /// Replaces an entry with the same key. An image larger than the whole
    /// byte budget is not kept (and the key then holds nothing).
    void setObject(const QImage &image, const QString &key);
    void removeAllObjects();

    int count() const;
    qint64 totalBytes() const;
    int countLimit() const { return m_countLimit; }
    qint64 byteBudget() const { return m_byteBudget; }

private:
    struct Entry
    {
        QString key;
        QImage image;
        qint64 bytes = 0;
    };
    using Order = std::list<Entry>; // most recently used first

    void removeLocked(Order::iterator entry);
    void evictLocked();

    const int m_countLimit;
    const qint64 m_byteBudget;
    mutable QMutex m_mutex;
    // Look-ups refresh the recency order, hence mutable.
    mutable Order m_order;
    QHash<QString, Order::iterator> m_index;
    qint64 m_totalBytes = 0;
};
