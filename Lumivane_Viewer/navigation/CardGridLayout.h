#pragma once

#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

/// Stations under one heading of the table of contents (positions in the
/// station list); a flat grid is one group without heading.
struct CardGroup
{
    std::optional<QString> heading;
    QList<qsizetype> stations;
};

struct GridCard
{
    qsizetype stationIndex = 0;
    QRectF rect;
};

struct GridHeading
{
    QString text;
    QRectF rect;
};

/// Where the cards and headings of the table of contents lie in its
/// scrolling content, top to bottom.
struct CardGridLayout
{
    static constexpr double thumbnailHeight = 110;
    static constexpr double maximumColumnWidth = 220;
    static constexpr double cardPadding = 6;

    QList<GridCard> cards;
    QList<GridHeading> headings;
    int columns = 1;
    double columnWidth = 0;
    double contentHeight = 0;
};

/// As many columns of 180 to 220 as fit the width (at least one), 14 apart
/// and centred, rows 14 apart, sections 30 apart, inside a margin of 24.
CardGridLayout layoutCardGrid(const QList<CardGroup> &groups, double width, double headingHeight,
                              double nameLineHeight);
