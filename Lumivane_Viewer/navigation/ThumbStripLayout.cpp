#include "ThumbStripLayout.h"

#include "LevelRuns.h"
#include "model/DisplayText.h"

#include <algorithm>

namespace {

constexpr double kHorizontalPadding = 16;
constexpr double kTopPadding = 8;
constexpr double kRunSpacing = 12;
constexpr double kCellSpacing = 10;
constexpr double kCaptionSpacing = 4;
constexpr double kCaptionInset = 2;
constexpr double kNameSpacing = 4;
constexpr double kSeparatorInset = 2;
constexpr QSizeF kSeparatorSize{1, 70};

// Lays one run's cells from x; returns the width they take.
double layoutCells(ThumbStripLayout &layout, const LevelRun &run, double x, double y, double nameLineHeight)
{
    const QSizeF thumb = ThumbStripLayout::thumbnailSize;
    for (qsizetype offset = 0; offset < run.count; ++offset) {
        const double cellX = x + offset * (thumb.width() + kCellSpacing);
        const QRectF thumbnail(QPointF(cellX, y), thumb);
        const QRectF name(cellX, thumbnail.bottom() + kNameSpacing, thumb.width(), nameLineHeight);
        layout.cells.append(ThumbStripCell{run.first + offset, thumbnail, name});
    }
    return run.count * thumb.width() + (run.count - 1) * kCellSpacing;
}

} // namespace

ThumbStripLayout layoutThumbStrip(const QList<Station> &stations, const QString &otherLevelText,
                                  const QFontMetricsF &captionMetrics, double nameLineHeight)
{
    ThumbStripLayout layout;
    const bool captioned = hasMultipleLevels(stations);
    layout.height = captioned ? ThumbStripLayout::multipleLevelsHeight : ThumbStripLayout::singleLevelHeight;
    const QList<LevelRun> runs = levelRuns(stations);
    double x = kHorizontalPadding;
    for (qsizetype index = 0; index < runs.size(); ++index) {
        if (index > 0)
            x += kRunSpacing;
        if (captioned && index > 0) {
            layout.separators.append(QRectF(QPointF(x + kSeparatorInset, kTopPadding), kSeparatorSize));
            x += kSeparatorSize.width() + 2 * kSeparatorInset + kRunSpacing;
        }
        double cellsY = kTopPadding;
        double captionWidth = 0;
        if (captioned) {
            const QString text = displayLine(runs[index].level.isEmpty() ? otherLevelText : runs[index].level);
            captionWidth = kCaptionInset + captionMetrics.horizontalAdvance(text);
            layout.captions.append(ThumbStripCaption{
                text, QRectF(x + kCaptionInset, kTopPadding, captionWidth - kCaptionInset, captionMetrics.height())});
            cellsY += captionMetrics.height() + kCaptionSpacing;
        }
        x += std::max(captionWidth, layoutCells(layout, runs[index], x, cellsY, nameLineHeight));
    }
    layout.contentWidth = x + kHorizontalPadding;
    return layout;
}
