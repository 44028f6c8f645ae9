#include "ControlBarLayout.h"

#include <algorithm>

namespace {

constexpr int kLeft = 20;
constexpr int kSpacing = 8;
constexpr int kSmallestSpacing = 4;
constexpr int kColumnSpacing = 8;

int columnHeight(int rows, int side, int spacing)
{
    return rows * side + std::max(0, rows - 1) * spacing;
}

} // namespace

QList<QPoint> controlBarPositions(int count, int side, const ControlBarRoom &room)
{
    if (count <= 0)
        return {};
    const int band = std::max(0, room.bandBottom - room.bandTop);
    int columns = 1;
    int rows = count;
    while (rows > 1 && columnHeight(rows, side, kSmallestSpacing) > band) {
        ++columns;
        rows = (count + columns - 1) / columns;
    }
    const int spacing =
        rows > 1 ? std::clamp((band - rows * side) / (rows - 1), kSmallestSpacing, kSpacing) : kSpacing;
    const int height = columnHeight(rows, side, spacing);
    int top = (room.viewHeight - height) / 2;
    top = std::max(std::min(top, room.bandBottom - height), room.bandTop);

    QList<QPoint> positions;
    for (int i = 0; i < count; ++i)
        positions.append(QPoint(kLeft + (i / rows) * (side + kColumnSpacing), top + (i % rows) * (side + spacing)));
    return positions;
}
