#include "SoftShadow.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>
#include <cmath>

namespace {

double sigmaOf(const DropShadow &shadow)
{
    return std::max(0.0, shadow.radius) / 2;
}

// Three standard deviations hold all but a tenth of a percent of the blur.
double blurExtent(const DropShadow &shadow)
{
    return std::ceil(3 * sigmaOf(shadow));
}

// Signed distance from p to a rounded rectangle centred on the origin:
// negative inside.
double roundedRectDistance(QPointF p, QSizeF halfSize, double corner)
{
    const double qx = std::abs(p.x()) - (halfSize.width() - corner);
    const double qy = std::abs(p.y()) - (halfSize.height() - corner);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - corner;
}

// Coverage of a blurred edge at signed distance d: exact for straight edges
// and close enough at corners for a shadow. Without blur, a one-pixel ramp
// keeps the edge antialiased.
double blurredCoverage(double d, double sigma, double pixel)
{
    if (sigma * 4 < pixel)
        return std::clamp(0.5 - d / pixel, 0.0, 1.0);
    return 0.5 * std::erfc(d / (sigma * std::sqrt(2.0)));
}

// A blurred silhouette is smooth: sampled every quarter of a standard
// deviation and scaled up when drawn, it looks the same for a fraction of
// the work (a large panel's shadow at full resolution takes 0.1 s).
qreal samplingScale(const DropShadow &shadow, qreal deviceRatio)
{
    const double sigma = sigmaOf(shadow);
    if (sigma <= 0)
        return deviceRatio;
    return std::min(deviceRatio, std::max(4 / sigma, 0.1));
}

// The silhouette is symmetric: one quadrant is computed and mirrored.
QImage blurredRoundedRect(QSizeF size, double corner, const DropShadow &shadow, qreal scale)
{
    const double extent = blurExtent(shadow);
    const int width = std::max(1, int(std::ceil((size.width() + 2 * extent) * scale)));
    const int height = std::max(1, int(std::ceil((size.height() + 2 * extent) * scale)));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    const QSizeF halfSize = size / 2;
    const QPointF centre(width / 2.0, height / 2.0);
    const double sigma = sigmaOf(shadow);
    const QColor color = shadow.color.toRgb();
    for (int y = 0; y < (height + 1) / 2; ++y) {
        auto *top = reinterpret_cast<QRgb *>(image.scanLine(y));
        auto *bottom = reinterpret_cast<QRgb *>(image.scanLine(height - 1 - y));
        for (int x = 0; x < (width + 1) / 2; ++x) {
            const QPointF p = (QPointF(x + 0.5, y + 0.5) - centre) / scale;
            const double alpha = blurredCoverage(roundedRectDistance(p, halfSize, corner), sigma, 1 / scale) * color.alphaF();
            const QRgb pixel = qPremultiply(qRgba(color.red(), color.green(), color.blue(), int(std::lround(alpha * 255))));
            top[x] = top[width - 1 - x] = bottom[x] = bottom[width - 1 - x] = pixel;
        }
    }
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace

QMarginsF shadowMargins(const DropShadow &shadow)
{
    const double extent = blurExtent(shadow);
    const QPointF offset = shadow.offset;
    return QMarginsF(std::max(0.0, extent - offset.x()), std::max(0.0, extent - offset.y()),
                     std::max(0.0, extent + offset.x()), std::max(0.0, extent + offset.y()));
}

void paintRoundedRectShadow(QPainter &painter, const QRectF &shape, double cornerRadius, const DropShadow &shadow)
{
    if (shape.isEmpty() || shadow.color.alpha() == 0)
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const double corner = std::clamp(cornerRadius, 0.0, std::min(shape.width(), shape.height()) / 2);
    const QString key = QStringLiteral("lumivane.shadow/%1x%2/%3/%4/%5/%6")
                            .arg(shape.width())
                            .arg(shape.height())
                            .arg(corner)
                            .arg(shadow.radius)
                            .arg(shadow.color.rgba(), 8, 16, QLatin1Char('0'))
                            .arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(blurredRoundedRect(shape.size(), corner, shadow, samplingScale(shadow, ratio)));
        QPixmapCache::insert(key, pixmap);
    }
    const QSizeF drawn = pixmap.deviceIndependentSize();
    const QPointF topLeft = shape.center() + shadow.offset - QPointF(drawn.width(), drawn.height()) / 2;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(topLeft, drawn), pixmap, QRectF(pixmap.rect()));
    painter.restore();
}
