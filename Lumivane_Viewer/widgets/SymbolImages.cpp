#include "SymbolImages.h"

#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcSymbols, "lumivane.symbols")

// A resource file in a static library is linked only when something names
// it; outside any namespace, as Q_INIT_RESOURCE requires.
static void loadSymbolResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(symbols);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {

// Symbols take a little more room than the font size, as glyphs of round
// shapes overshoot the cap height and descend below the baseline.
constexpr double kBoxPerPoint = 1.2;

QString resourcePath(QStringView name)
{
    return QStringLiteral(":/symbols/%1.svg").arg(name);
}

// The "missing glyph" box: an outlined square, so a wrong name shows on
// screen instead of leaving a hole.
void paintMissingSymbol(QPainter &painter, int pixels)
{
    const double pen = std::max(1.0, pixels / 10.0);
    painter.setPen(QPen(Qt::black, pen));
    painter.setBrush(Qt::NoBrush);
    const double inset = pixels * 0.15 + pen / 2;
    painter.drawRect(QRectF(inset, inset, pixels - 2 * inset, pixels - 2 * inset));
}

QImage renderSymbol(QStringView name, int pixels, const QColor &color)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hasSymbol(name)) {
        QSvgRenderer(resourcePath(name)).render(&painter, QRectF(0, 0, pixels, pixels));
    } else {
        Q_ASSERT_X(false, "symbolPixmap", "unknown symbol name");
        qCWarning(lcSymbols) << "No symbol named" << name;
        paintMissingSymbol(painter, pixels);
    }
    // The icons are single-coloured: keep their coverage, take the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

} // namespace

double symbolBoxSide(double points)
{
    return points * kBoxPerPoint;
}

bool hasSymbol(QStringView name)
{
    loadSymbolResources();
    return !name.isEmpty() && QFile::exists(resourcePath(name));
}

QPixmap symbolPixmap(QStringView name, double points, const QColor &color, qreal devicePixelRatio)
{
    loadSymbolResources();
    const int pixels = std::max(1, int(std::lround(symbolBoxSide(points) * devicePixelRatio)));
    const QString key = QStringLiteral("lumivane.symbol/%1/%2/%3/%4")
                            .arg(name)
                            .arg(pixels)
                            .arg(color.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(renderSymbol(name, pixels, color));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void drawSymbol(QPainter &painter, QPointF centre, QStringView name, double points, const QColor &color)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QPixmap pixmap = symbolPixmap(name, points, color, ratio);
    const QSizeF size = pixmap.deviceIndependentSize();
    // Device pixel coordinates through the painter's transform, so a symbol
    // inside a translated painter still lands on whole pixels.
    const QPointF device = painter.transform().map(centre - QPointF(size.width(), size.height()) / 2) * ratio;
    const QPointF snapped(std::round(device.x()) / ratio, std::round(device.y()) / ratio);
    painter.drawPixmap(painter.transform().inverted().map(snapped), pixmap);
}
