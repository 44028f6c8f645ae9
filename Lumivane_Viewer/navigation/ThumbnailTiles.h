#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QSizeF>
#include <QUuid>

/// Station photos cut to their cells: each thumbnail scaled to fill a
/// rounded cell at the screen's pixel ratio once, so that a repaint only
/// copies it. Holds tiles of the stations a view keeps, nothing more.
class ThumbnailTiles
{
public:
    /// The tile of a station's thumbnail for a cell of this size; made now
    /// when none matches the photo, size and ratio.
    QPixmap tile(const QUuid &stationID, const QImage &photo, QSizeF cell, qreal devicePixelRatio,
                 double cornerRadius);
    /// Lets go of every other station's tile.
    void keepOnly(const QSet<QUuid> &stationIDs);

private:
    struct Tile
    {
        qint64 photoKey = 0;
        QSize pixels;
        QPixmap pixmap;
    };
    QHash<QUuid, Tile> m_tiles;
};
