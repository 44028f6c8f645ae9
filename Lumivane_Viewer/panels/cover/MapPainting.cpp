#include "MapPainting.h"

#include "MapTileSource.h"

#include "model/DisplayText.h"
#include "model/SystemFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QColor kGround(236, 232, 224);
const QColor kGraticule(212, 205, 192);
const QColor kPin(229, 72, 58);
const QColor kTitleInk(31, 36, 48);

constexpr double kMinLineSpacing = 40.0;
constexpr int kMaxLinesPerDirection = 64;
constexpr int kMaxFallbackLevels = 5;

double graticuleStep(double pixelsPerDegree)
{
    static constexpr std::array<double, 19> steps{0.00001, 0.00002, 0.00005, 0.0001, 0.0002, 0.0005, 0.001,
                                                  0.002,   0.005,   0.01,    0.02,   0.05,   0.1,    0.2,
                                                  0.5,     1,       2,       5,      10};
    for (const double step : steps) {
        if (step * pixelsPerDegree >= kMinLineSpacing)
            return step;
    }
    return 30;
}

int wrapped(int column, int count)
{
    return ((column % count) + count) % count;
}

QRectF tileOffsetRect(const MapCamera &camera, int z, int column, int row)
{
    const double count = std::exp2(z);
    const double side = camera.worldSide();
    return QRectF((column / count - camera.centre.x()) * side, (row / count - camera.centre.y()) * side,
                  side / count, side / count);
}

// Tiles overlap by half a pixel so that their smoothed edges leave no seams
// when the map is scaled or turned.
QRectF overlapping(const QRectF &rect)
{
    return rect.adjusted(-0.5, -0.5, 0.5, 0.5);
}

// The tiles that cover the view: columns may run past the world's edges
// (they wrap), rows never do.
struct TileRange
{
    int z = 0;
    int count = 1;
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
};

TileRange tileRange(const MapCamera &camera, QSizeF viewSize)
{
    TileRange range;
    range.z = tileZoomFor(camera);
    range.count = 1 << range.z;
    const QRectF world = camera.visibleWorld(viewSize);
    range.firstColumn = int(std::floor(world.left() * range.count));
    range.lastColumn = std::min(int(std::floor(world.right() * range.count)), range.firstColumn + range.count - 1);
    range.firstRow = std::max(0, int(std::floor(world.top() * range.count)));
    range.lastRow = std::min(range.count - 1, int(std::floor(world.bottom() * range.count)));
    return range;
}

} // namespace

void paintMapGround(QPainter &painter, const MapCamera &camera, QSizeF viewSize)
{
    painter.fillRect(QRectF(QPointF(0, 0), viewSize), kGround);
    const QRectF world = camera.visibleWorld(viewSize);
    const double side = camera.worldSide();
    const double step = graticuleStep(side / 360.0);
    painter.save();
    painter.setTransform(camera.offsetToView(viewSize), true);
    painter.setPen(QPen(kGraticule, 1.0));
    painter.setRenderHint(QPainter::Antialiasing);
    const double top = (std::max(world.top(), 0.0) - camera.centre.y()) * side;
    const double bottom = (std::min(world.bottom(), 1.0) - camera.centre.y()) * side;
    const double firstLongitude = std::ceil(WebMercator::longitudeAt(world.left()) / step) * step;
    for (int i = 0; i < kMaxLinesPerDirection; ++i) {
        const double x = (firstLongitude + i * step + 180.0) / 360.0;
        if (x > world.right())
            break;
        const double offsetX = (x - camera.centre.x()) * side;
        painter.drawLine(QPointF(offsetX, top), QPointF(offsetX, bottom));
    }
    const double southmost = WebMercator::latitudeAt(std::min(world.bottom(), 1.0));
    const double firstLatitude = std::ceil(southmost / step) * step;
    for (int i = 0; i < kMaxLinesPerDirection; ++i) {
        const double latitude = firstLatitude + i * step;
        const double y = WebMercator::worldPoint(latitude, 0).y();
        if (y < std::max(world.top(), 0.0) || latitude > WebMercator::maxLatitude)
            break;
        const double offsetY = (y - camera.centre.y()) * side;
        painter.drawLine(QPointF((world.left() - camera.centre.x()) * side, offsetY),
                         QPointF((world.right() - camera.centre.x()) * side, offsetY));
    }
    painter.restore();
}

int tileZoomFor(const MapCamera &camera)
{
    return std::clamp(int(std::lround(camera.zoom)), 0, MapTileSource::maxTileZoom);
}

QList<MapTileKey> visibleTiles(const MapCamera &camera, QSizeF viewSize)
{
    const TileRange range = tileRange(camera, viewSize);
    struct Placed
    {
        MapTileKey key;
        double distance;
    };
    QList<Placed> placed;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            const QPointF middle((column + 0.5) / range.count, (row + 0.5) / range.count);
            const QPointF offset = middle - camera.centre;
            placed.append({MapTileKey{range.z, wrapped(column, range.count), row}, std::hypot(offset.x(), offset.y())});
        }
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.distance < b.distance; });
    QList<MapTileKey> keys;
    keys.reserve(placed.size());
    for (const Placed &p : placed)
        keys.append(p.key);
    return keys;
}

void paintMapTiles(QPainter &painter, const MapCamera &camera, QSizeF viewSize, const MapTileSource &tiles)
{
    const TileRange range = tileRange(camera, viewSize);
    painter.save();
    painter.setTransform(camera.offsetToView(viewSize), true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int z = range.z;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            const QRectF target = overlapping(tileOffsetRect(camera, z, column, row));
            const int x = wrapped(column, range.count);
            if (const QPixmap pixmap = tiles.tile({z, x, row}); !pixmap.isNull()) {
                painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
                continue;
            }
            for (int up = 1; up <= kMaxFallbackLevels && up <= z; ++up) {
                const QPixmap coarse = tiles.tile({z - up, x >> up, row >> up});
                if (coarse.isNull())
                    continue;
                const double part = coarse.width() / std::exp2(up);
                const QRectF source((x - ((x >> up) << up)) * part, (row - ((row >> up) << up)) * part, part, part);
                painter.drawPixmap(target, coarse, source);
                break;
            }
        }
    }
    painter.restore();
}

void paintMapPin(QPainter &painter, QPointF tip, const QString &title, double maxTitleWidth)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(tip, 5, 2);

    const QPointF head = tip - QPointF(0, 20);
    QPainterPath balloon;
    balloon.addEllipse(head, 10, 10);
    QPainterPath point;
    point.moveTo(tip);
    point.lineTo(head + QPointF(-7.2, 7));
    point.lineTo(head + QPointF(7.2, 7));
    point.closeSubpath();
    painter.setPen(QPen(QColor(255, 255, 255), 1.5));
    painter.setBrush(kPin);
    painter.drawPath(balloon.united(point));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(head, 3.5, 3.5);

    if (!title.isEmpty()) {
        const QFont font = systemFont(12, QFont::DemiBold);
        const QFontMetricsF metrics(font);
        const QString shown = metrics.elidedText(displayLine(title), Qt::ElideRight, maxTitleWidth);
        const double width = metrics.horizontalAdvance(shown);
        QPainterPath text;
        text.addText(QPointF(tip.x() - width / 2, tip.y() + 6 + metrics.ascent()), font, shown);
        // A white halo keeps the title legible over any tile.
        painter.strokePath(text, QPen(QColor(255, 255, 255, 230), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(text, kTitleInk);
    }
    painter.restore();
}
