#include "MarkerShadow.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One box pass along a line of alpha values, with clamped-to-zero edges.
void boxPass(std::vector<int> &line, std::vector<int> &scratch, int radius)
{
    const int length = int(line.size());
    const int width = 2 * radius + 1;
    int sum = 0;
    for (int i = 0; i <= std::min(radius, length - 1); ++i)
        sum += line[i];
    for (int i = 0; i < length; ++i) {
        scratch[i] = sum / width;
        const int entering = i + radius + 1;
        const int leaving = i - radius;
        if (entering < length)
            sum += line[entering];
        if (leaving >= 0)
            sum -= line[leaving];
    }
    line.swap(scratch);
}

void blurLines(std::vector<int> &alpha, int lines, int length, int stride, int step, int radius)
{
    std::vector<int> line(length);
    std::vector<int> scratch(length);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i)
            line[i] = alpha[l * stride + i * step];
        for (int pass = 0; pass < 3; ++pass)
            boxPass(line, scratch, radius);
        for (int i = 0; i < length; ++i)
            alpha[l * stride + i * step] = line[i];
    }
}

} // namespace

void blurAlpha(QImage &image, double sigma)
{
    // Three boxes of width w give the variance of a Gaussian of sigma when
    // w*w = 4*sigma*sigma + 1.
    const int radius = int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2));
    if (radius <= 0 || image.isNull())
        return;
    const int width = image.width();
    const int height = image.height();
    std::vector<int> alpha(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            alpha[size_t(y) * width + x] = qAlpha(row[x]);
    }
    blurLines(alpha, height, width, width, 1, radius);
    blurLines(alpha, width, height, 1, width, radius);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha[size_t(y) * width + x];
            row[x] = qRgba(a, a, a, a); // white silhouette, premultiplied
        }
    }
}

void MarkerShadow::paint(QImage &canvas, QPainter &canvasPainter, const std::function<void(QPainter &)> &draw) const
{
    const double ratio = canvas.devicePixelRatio();
    QImage layer(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHint(QPainter::Antialiasing);
        layerPainter.setTransform(canvasPainter.transform());
        draw(layerPainter);
    }

    QImage shadow = layer.copy();
    blurAlpha(shadow, blur / 2 * ratio);
    {
        // Tint the silhouette: its alpha times the shadow colour's alpha.
        QPainter tint(&shadow);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(shadow.rect(), color);
    }

    canvasPainter.save();
    canvasPainter.resetTransform();
    // Shadow offsets point upward for positive y; the canvas rows grow downward.
    canvasPainter.drawImage(QPointF(offset.x(), -offset.y()), shadow);
    canvasPainter.drawImage(QPointF(0, 0), layer);
    canvasPainter.restore();
}
