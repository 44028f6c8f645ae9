#pragma once

#include "model/Station.h"

#include <QFontMetricsF>
#include <QList>
#include <QRectF>
#include <QString>

/// One station's cell in the strip: its thumbnail and the line of its name.
struct ThumbStripCell
{
    qsizetype stationIndex = 0;
    QRectF thumbnail;
    QRectF name;

    QRectF bounds() const { return thumbnail.united(name); }
};

/// A level caption above a run of cells.
struct ThumbStripCaption
{
    QString text;
    QRectF rect;
};

/// Where everything of the strip lies along its scrolling content, from
/// the content's top-left corner; cells in content order, so by x.
struct ThumbStripLayout
{
    static constexpr double singleLevelHeight = 92;
    static constexpr double multipleLevelsHeight = 108;
    static constexpr QSizeF thumbnailSize{110, 62};

    QList<ThumbStripCell> cells;
    QList<ThumbStripCaption> captions;
    QList<QRectF> separators;
    double contentWidth = 0;
    double height = singleLevelHeight;
};

/// Lays the stations out in runs of one level: with several levels each run
/// gets its caption (`otherLevelText` for the empty level) and runs after
/// the first a separator, and the strip grows taller.
ThumbStripLayout layoutThumbStrip(const QList<Station> &stations, const QString &otherLevelText,
                                  const QFontMetricsF &captionMetrics, double nameLineHeight);
