#pragma once

#include "ThumbnailTiles.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSizeF>
#include <QUrl>
#include <QUuid>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class LumivaneImageCache;

/// The photo file of a station id, or none.
using StationPhotoResolver = std::function<std::optional<QUrl>(const QUuid &stationID)>;

/// Station thumbnails for a view that shows many: scaled decodes from the
/// image cache's thumbnail store, run on the cache's pool and handed back on
/// the GUI thread. Only the stations the view asks for are decoded or held,
/// in the order asked, a few at a time so that the GUI thread keeps a core
/// while a screenful loads; a station that leaves the view is dropped from
/// the queue and its image released to the cache. Never decodes on the GUI
/// thread. Each thumbnail is cut to its rounded cell once (ThumbnailTiles),
/// so that a repaint only copies it.
class StationThumbnailLoader final : public QObject
{
public:
    StationThumbnailLoader(std::shared_ptr<LumivaneImageCache> cache, StationPhotoResolver photoURLResolver,
                           QObject *parent);

    /// The longer side, in pixels, of a thumbnail that fills a cell of this
    /// logical size at this ratio for photos up to twice as wide as high,
    /// rounded up to a step of 64 so that small layout changes share entries.
    static int pixelSizeFor(QSizeF cell, qreal devicePixelRatio);

    /// Decodes for cells up to this size at this ratio. A new pixel size
    /// drops every held image and asks again for the stations last wanted.
    void fitCells(QSizeF largestCell, qreal devicePixelRatio);

    /// The stations the view shows now, most wanted first: missing
    /// thumbnails start decoding in that order, every other station is let go.
    void want(const QList<QUuid> &stationIDs);

    /// The station's thumbnail cut to a rounded cell of this size, once it
    /// has arrived; else a null pixmap.
    QPixmap tile(const QUuid &stationID, QSizeF cell, qreal devicePixelRatio, double cornerRadius);

    /// Called on the GUI thread when a wanted station's thumbnail arrives.
    std::function<void(const QUuid &)> onThumbnailReady;

private:
    using CancelFlag = std::shared_ptr<std::atomic_bool>;

    void pump();
    void request(const QUuid &stationID);
    void release(const QSet<QUuid> &kept);
    void arrive(const QUuid &stationID, const CancelFlag &flag, const QImage &image);
    std::optional<QUrl> photoURL(const QUuid &stationID);

    std::shared_ptr<LumivaneImageCache> m_cache;
    StationPhotoResolver m_photoURLResolver;
    int m_pixelSize = 128;
    QHash<QUuid, std::optional<QUrl>> m_urls;
    QHash<QUuid, QImage> m_images;
    ThumbnailTiles m_tiles;
    QList<QUuid> m_wanted; // as last asked, most wanted first
    QList<QUuid> m_queue; // wanted, not yet handed to the pool
    QHash<QUuid, CancelFlag> m_pending;
    int m_running = 0; // decodes handed to the pool, released ones included
    QSet<QUuid> m_withoutPhoto;
};
