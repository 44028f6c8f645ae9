#include "ThumbnailPainting.h"

#include <QBrush>
#include <QPainter>
#include <QPaintDevice>
#include <QPen>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>
#include <cmath>

void paintFilledImage(QPainter &painter, const QRectF &rect, double cornerRadius, const QImage &image)
{
    if (image.isNull() || rect.isEmpty())
        return;
    // A textured brush draws the image through the rounded shape in one
    // pass, cheaper than clipping to a path.
    const double scale = std::max(rect.width() / image.width(), rect.height() / image.height());
    const QPointF origin = rect.center() - QPointF(image.width(), image.height()) * (scale / 2);
    QBrush brush(image);
    brush.setTransform(QTransform(scale, 0, 0, scale, origin.x(), origin.y()));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawRoundedRect(rect, cornerRadius, cornerRadius);
    painter.restore();
}

void paintRoundedFill(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(rect, cornerRadius, cornerRadius);
    painter.restore();
}

void paintRoundedOutline(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &color,
                         double lineWidth)
{
    painter.save();
    painter.setPen(QPen(color, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect, cornerRadius, cornerRadius);
    painter.restore();
}

void paintRoundedSprite(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &fill,
                        const QColor &outline, double lineWidth)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // The outline's outer half lies beyond the rectangle.
    const double margin = std::ceil(lineWidth / 2);
    const QString key = QStringLiteral("lumivane.rounded/%1/%2/%3/%4/%5/%6/%7")
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(cornerRadius)
                            .arg(fill.rgba(), 0, 16)
                            .arg(outline.rgba(), 0, 16)
                            .arg(lineWidth)
                            .arg(ratio);
    QPixmap sprite;
    if (!QPixmapCache::find(key, &sprite)) {
        const QSizeF logical = rect.size() + QSizeF(2 * margin, 2 * margin);
        sprite = QPixmap((logical * ratio).toSize() + QSize(1, 1));
        sprite.setDevicePixelRatio(ratio);
        sprite.fill(Qt::transparent);
        QPainter spritePainter(&sprite);
        spritePainter.setRenderHint(QPainter::Antialiasing);
        const QRectF shape(QPointF(margin, margin), rect.size());
        if (fill.alpha() > 0)
            paintRoundedFill(spritePainter, shape, cornerRadius, fill);
        if (outline.alpha() > 0 && lineWidth > 0)
            paintRoundedOutline(spritePainter, shape, cornerRadius, outline, lineWidth);
        spritePainter.end();
        QPixmapCache::insert(key, sprite);
    }
    painter.drawPixmap(rect.topLeft() - QPointF(margin, margin), sprite);
}
