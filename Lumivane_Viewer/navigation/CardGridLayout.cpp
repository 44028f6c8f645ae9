#include "CardGridLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMargin = 24;
constexpr double kMinimumColumnWidth = 180;
constexpr double kGap = 14;
constexpr double kSectionSpacing = 30;
constexpr double kHeadingSpacing = 12;

} // namespace

CardGridLayout layoutCardGrid(const QList<CardGroup> &groups, double width, double headingHeight,
                              double nameLineHeight)
{
    CardGridLayout layout;
    const double available = std::max(0.0, width - 2 * kMargin);
    layout.columns = std::max(1, int(std::floor((available + kGap) / (kMinimumColumnWidth + kGap))));
    layout.columnWidth = std::min(CardGridLayout::maximumColumnWidth,
                                  (available - (layout.columns - 1) * kGap) / layout.columns);
    const double gridWidth = layout.columns * layout.columnWidth + (layout.columns - 1) * kGap;
    const double gridLeft = kMargin + (available - gridWidth) / 2;
    const double cardHeight = CardGridLayout::cardPadding * 3 + CardGridLayout::thumbnailHeight + nameLineHeight;

    double y = kMargin;
    for (qsizetype group = 0; group < groups.size(); ++group) {
        if (group > 0)
            y += kSectionSpacing;
        if (const auto &heading = groups[group].heading) {
            layout.headings.append(GridHeading{*heading, QRectF(kMargin, y, available, headingHeight)});
            y += headingHeight + kHeadingSpacing;
        }
        const QList<qsizetype> &stations = groups[group].stations;
        for (qsizetype index = 0; index < stations.size(); ++index) {
            const double x = gridLeft + (index % layout.columns) * (layout.columnWidth + kGap);
            const double top = y + (index / layout.columns) * (cardHeight + kGap);
            layout.cards.append(GridCard{stations[index], QRectF(x, top, layout.columnWidth, cardHeight)});
        }
        const qsizetype rows = (stations.size() + layout.columns - 1) / layout.columns;
        y += rows * cardHeight + std::max<qsizetype>(0, rows - 1) * kGap;
    }
    layout.contentHeight = y + kMargin;
    return layout;
}
