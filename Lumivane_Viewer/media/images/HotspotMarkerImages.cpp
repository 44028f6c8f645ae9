#include "HotspotMarkerImages.h"

#include "MarkerShadow.h"

#include "model/Palette.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Drawing below follows a y-up canvas with its origin in the lower left, so
// the shapes keep the coordinates of their design.
struct Canvas
{
    QImage image;
    QSizeF size;
};

Canvas makeCanvas(QSizeF size)
{
    QImage image(int(std::ceil(size.width() * markerImagePixelRatio)),
                 int(std::ceil(size.height() * markerImagePixelRatio)), QImage::Format_ARGB32_Premultiplied);
    if (!image.isNull()) {
        image.setDevicePixelRatio(markerImagePixelRatio);
        image.fill(Qt::transparent);
    }
    return Canvas{image, size};
}

void flipToYUp(QPainter &painter, double height)
{
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height));
}

// Converts to RGB; a colour that has none is drawn, and keyed, as white.
QColor markerColor(const QColor &color)
{
    const QColor rgb = color.isValid() ? color.toRgb() : QColor();
    if (!rgb.isValid())
        return QColor(Qt::white);
    QColor opaque = rgb;
    opaque.setAlpha(255);
    return opaque;
}

// A canvas that could not be painted comes back blank and incomplete, and
// is not kept, so that a later call draws it again.
struct Drawing
{
    QImage image;
    bool complete = false;
};

class Memo
{
public:
    // Draws outside the lock; a racing first draw of one key keeps the
    // first stored image so every caller then sees the same one.
    QImage get(const QString &key, const std::function<Drawing()> &draw)
    {
        {
            QMutexLocker locker(&m_mutex);
            if (const auto found = m_images.constFind(key); found != m_images.constEnd())
                return found.value();
        }
        const Drawing drawing = draw();
        if (!drawing.complete)
            return drawing.image;
        QMutexLocker locker(&m_mutex);
        if (const auto found = m_images.constFind(key); found != m_images.constEnd())
            return found.value();
        m_images.insert(key, drawing.image);
        return drawing.image;
    }

private:
    QMutex m_mutex;
    QHash<QString, QImage> m_images;
};

// Runs the steps on a y-up painter.
Drawing drawCanvas(QSizeF size, const std::function<void(QImage &, QPainter &)> &steps)
{
    Canvas canvas = makeCanvas(size);
    QPainter painter;
    if (canvas.image.isNull() || !painter.begin(&canvas.image))
        return Drawing{canvas.image, false};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    flipToYUp(painter, size.height());
    steps(canvas.image, painter);
    painter.end();
    return Drawing{canvas.image, true};
}

void fillEllipse(QPainter &painter, const QRectF &rect, const QColor &color)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(rect);
}

void strokeEllipse(QPainter &painter, const QRectF &rect, const QColor &color, double width)
{
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(rect);
}

void strokePolyline(QPainter &painter, const QPolygonF &points, const QColor &color)
{
    painter.setPen(QPen(color, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points);
}

void drawGlyph(QPainter &painter, HotspotGlyph glyph, const QColor &color)
{
    switch (glyph) {
    case HotspotGlyph::arrow:
        strokePolyline(painter, {{105.152, 116.576}, {128, 152.3712}, {150.848, 116.576}}, color);
        return;
    case HotspotGlyph::check:
        strokePolyline(painter, {{101.344, 129.5232}, {124.192, 106.6752}, {155.4176, 147.04}}, color);
        return;
    case HotspotGlyph::info: {
        fillEllipse(painter, QRectF(118.0992, 133.3312, 19.8016, 19.8016), color);
        QPainterPath bar;
        bar.setFillRule(Qt::WindingFill);
        bar.addRoundedRect(QRectF(119.6224, 105.152, 16.7552, 31.9872), 8.3776, 8.3776);
        painter.fillPath(bar, color);
        return;
    }
    }
}

QFont labelFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(16); // canvas units are points
    font.setWeight(QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    return font;
}

constexpr double labelTextWidthLimit = 640;

const QColor kBlack(Qt::black);
const QColor kWhite(Qt::white);

} // namespace

QString markerColorKey(const QColor &color)
{
    const QRgba64 rgb = markerColor(color).rgba64();
    const auto component = [](quint16 value) {
        return QString::number(double(value) / 65535.0, 'g', QLocale::FloatingPointShortest);
    };
    return component(rgb.red()) + u',' + component(rgb.green()) + u',' + component(rgb.blue());
}

QImage coreMarkerImage(const QColor &color)
{
    static Memo memo;
    const QColor c = markerColor(color);
    return memo.get(markerColorKey(c), [c] {
        return drawCanvas({128, 128}, [c](QImage &image, QPainter &painter) {
            MarkerShadow{{0, 0}, 24, withAlpha(kBlack, 0.6)}.paint(image, painter, [](QPainter &p) {
                fillEllipse(p, QRectF(15.36, 15.36, 97.28, 97.28), withAlpha(kBlack, 0.38));
            });
            MarkerShadow{{0, 0}, 28, withAlpha(c, 0.9)}.paint(image, painter, [c](QPainter &p) {
                fillEllipse(p, QRectF(23.04, 23.04, 81.92, 81.92), withAlpha(c, 0.3));
            });
            fillEllipse(painter, QRectF(48, 48, 32, 32), c);
            fillEllipse(painter, QRectF(60.4672, 69.6, 8.2432, 8.2432), withAlpha(kWhite, 0.45));
        });
    });
}

QImage rippleRingImage(const QColor &color)
{
    static Memo memo;
    const QColor c = markerColor(color);
    return memo.get(markerColorKey(c), [c] {
        return drawCanvas({128, 128}, [c](QImage &image, QPainter &painter) {
            const QRectF ring(6, 6, 116, 116);
            MarkerShadow{{0, 0}, 12, withAlpha(kBlack, 0.55)}.paint(image, painter, [ring](QPainter &p) {
                strokeEllipse(p, ring, withAlpha(kBlack, 0.4), 7);
            });
            MarkerShadow{{0, 0}, 10, withAlpha(c, 0.6)}.paint(image, painter, [ring, c](QPainter &p) {
                strokeEllipse(p, ring, withAlpha(c, 0.95), 3.5);
            });
        });
    });
}

QImage classicHaloImage(const QColor &color)
{
    static Memo memo;
    const QColor c = markerColor(color);
    return memo.get(markerColorKey(c), [c] {
        return drawCanvas({256, 256}, [c](QImage &image, QPainter &painter) {
            const QRectF halo(51.2, 51.2, 153.6, 153.6);
            MarkerShadow{{0, 0}, 32, withAlpha(c, 0.75)}.paint(image, painter, [halo, c](QPainter &p) {
                fillEllipse(p, halo, withAlpha(c, 0.35));
            });
            strokeEllipse(painter, halo, withAlpha(c, 0.55), 4);
        });
    });
}

QImage markerIconImage(const QColor &color, HotspotGlyph glyph, const std::optional<QString> &symbolName)
{
    static Memo memo;
    const QColor c = markerColor(color);
    const QString key = markerColorKey(c) + u'|' + glyphName(glyph) + u'|' + symbolName.value_or(QString());
    return memo.get(key, [c, glyph] {
        return drawCanvas({256, 256}, [c, glyph](QImage &image, QPainter &painter) {
            const QRectF disc(38.4, 38.4, 179.2, 179.2);
            MarkerShadow{{0, -3}, 10, withAlpha(kBlack, 0.4)}.paint(image, painter, [disc](QPainter &p) {
                fillEllipse(p, disc, withAlpha(kWhite, 0.97));
            });
            strokeEllipse(painter, disc, kWhite, 3);
            drawGlyph(painter, glyph, withAlpha(c, 0.95));
        });
    });
}

QImage hotspotLabelImage(const QString &text)
{
    static Memo memo;
    return memo.get(text, [whole = text] {
        const QFont font = labelFont();
        const QFontMetricsF metrics(font);
        // A station name may run to a thousand letters: a label as wide would
        // hide the panorama and cost a texture as wide as the card allows.
        const QString text = metrics.elidedText(whole, Qt::ElideRight, labelTextWidthLimit);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        const double W = std::max(w + 24, 72.0);
        const double H = h + 18;
        return drawCanvas({W, H}, [&](QImage &, QPainter &painter) {
            const QColor box = withAlpha(kBlack, 0.85);
            QPainterPath body;
            body.setFillRule(Qt::WindingFill);
            body.addRoundedRect(QRectF(0, 6, W, H - 6), 14, 14);
            painter.fillPath(body, box);
            QPainterPath pointer;
            pointer.addPolygon(QPolygonF({{W / 2 - 6, 6}, {W / 2 + 6, 6}, {W / 2, 0}}));
            pointer.closeSubpath();
            painter.fillPath(pointer, box);
            // Text runs y-down: its box spans 12 to 12 + h up from the bottom.
            painter.resetTransform();
            painter.setFont(font);
            painter.setPen(kWhite);
            painter.drawText(QPointF((W - w) / 2, H - 12 - h + metrics.ascent()), text);
        });
    });
}
