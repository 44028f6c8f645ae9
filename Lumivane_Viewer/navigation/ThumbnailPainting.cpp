#include "ThumbnailPainting.h"

#include <QBrush>
#include <QPainter>
#include <QPen>

#include <algorithm>

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
