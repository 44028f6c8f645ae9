#include "ThumbnailTiles.h"

#include "ThumbnailPainting.h"

#include <QPainter>

#include <cmath>

QPixmap ThumbnailTiles::tile(const QUuid &stationID, const QImage &photo, QSizeF cell, qreal devicePixelRatio,
                             double cornerRadius)
{
    const QSize pixels(int(std::ceil(cell.width() * devicePixelRatio)), int(std::ceil(cell.height() * devicePixelRatio)));
    const auto known = m_tiles.constFind(stationID);
    if (known != m_tiles.constEnd() && known->photoKey == photo.cacheKey() && known->pixels == pixels)
        return known->pixmap;
    QPixmap pixmap(pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintFilledImage(painter, QRectF(QPointF(), cell), cornerRadius, photo);
    painter.end();
    m_tiles.insert(stationID, Tile{photo.cacheKey(), pixels, pixmap});
    return pixmap;
}

void ThumbnailTiles::keepOnly(const QSet<QUuid> &stationIDs)
{
    m_tiles.removeIf([&](const auto &entry) { return !stationIDs.contains(entry.key()); });
}
