#include "CoverBlur.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace {

// Deviation of the blur in pixels of the reduced image.
constexpr double kReducedDeviation = 3.0;
constexpr int kWeightBits = 16;

QList<quint32> gaussianWeights(double deviation)
{
    const int reach = int(std::ceil(3 * deviation));
    QList<double> exact(2 * reach + 1);
    double total = 0;
    for (int i = -reach; i <= reach; ++i) {
        exact[i + reach] = std::exp(-(i * i) / (2 * deviation * deviation));
        total += exact[i + reach];
    }
    QList<quint32> weights(exact.size());
    for (qsizetype i = 0; i < exact.size(); ++i)
        weights[i] = quint32(std::lround(exact[i] / total * (1 << kWeightBits)));
    return weights;
}

// One pass along rows of a premultiplied image; outside the image counts as
// transparent, so the sums near the edges come out lighter.
QImage blurRows(const QImage &source, const QList<quint32> &weights)
{
    const int reach = int(weights.size() / 2);
    const int width = source.width();
    QImage result(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            quint64 a = 0, r = 0, g = 0, b = 0;
            const int first = std::max(0, x - reach);
            const int last = std::min(width - 1, x + reach);
            for (int i = first; i <= last; ++i) {
                const quint32 w = weights[i - x + reach];
                const QRgb p = in[i];
                a += w * qAlpha(p);
                r += w * qRed(p);
                g += w * qGreen(p);
                b += w * qBlue(p);
            }
            const auto channel = [](quint64 sum) { return int(std::min<quint64>(255, sum >> kWeightBits)); };
            out[x] = qRgba(channel(r), channel(g), channel(b), channel(a));
        }
    }
    return result;
}

QImage transposed(const QImage &image)
{
    return image.transformed(QTransform(0, 1, 1, 0, 0, 0));
}

QImage filledAndReduced(const QImage &photo, QSize target)
{
    const QImage scaled = photo.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect middle((scaled.width() - target.width()) / 2, (scaled.height() - target.height()) / 2, target.width(),
                       target.height());
    return scaled.copy(middle).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QImage blurredCoverImage(const QImage &photo, QSizeF logicalSize, double radius)
{
    if (photo.isNull() || logicalSize.isEmpty() || radius <= 0)
        return QImage();
    const double deviation = radius;
    const double scale = std::min(1.0, kReducedDeviation / deviation);
    const QSize target(std::max(1, int(std::ceil(logicalSize.width() * scale))),
                       std::max(1, int(std::ceil(logicalSize.height() * scale))));
    const QList<quint32> weights = gaussianWeights(deviation * scale);
    const QImage rows = blurRows(filledAndReduced(photo, target), weights);
    return transposed(blurRows(transposed(rows), weights));
}
