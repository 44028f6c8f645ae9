#include "PanoramaMipmapBands.h"

#include <algorithm>
#include <bit>

PanoramaMipmapBands::PanoramaMipmapBands(QSize size)
    : m_size(size)
{
    // Levels whose band rows stay whole: both sides at least 1 at that level
    // and bandRows >> level at least 1.
    const int smallerSide = std::max(1, std::min(size.width(), size.height()));
    m_bandLevels = std::min(std::bit_width(unsigned(bandRows)) - 1, std::bit_width(unsigned(smallerSide)) - 1);
    const QSize last = levelSize(size, m_bandLevels);
    m_lastBandLevel = QImage(last, QImage::Format_RGB32);
}

int PanoramaMipmapBands::levelCount(QSize size)
{
    return std::bit_width(unsigned(std::max(1, std::max(size.width(), size.height()))));
}

QSize PanoramaMipmapBands::levelSize(QSize size, int level)
{
    return {std::max(1, size.width() >> level), std::max(1, size.height() >> level)};
}

void PanoramaMipmapBands::downsample(const uchar *source, int sourceWidth, int sourceRows, qsizetype sourceStride,
                                     uchar *target, int targetWidth, int targetRows, qsizetype targetStride)
{
    for (int y = 0; y < targetRows; ++y) {
        const auto *row0 = reinterpret_cast<const quint32 *>(source + qsizetype(std::min(2 * y, sourceRows - 1)) * sourceStride);
        const auto *row1 = reinterpret_cast<const quint32 *>(source + qsizetype(std::min(2 * y + 1, sourceRows - 1)) * sourceStride);
        auto *out = reinterpret_cast<quint32 *>(target + qsizetype(y) * targetStride);
        for (int x = 0; x < targetWidth; ++x) {
            const int x0 = std::min(2 * x, sourceWidth - 1);
            const int x1 = std::min(2 * x + 1, sourceWidth - 1);
            const quint32 a = row0[x0], b = row0[x1], c = row1[x0], d = row1[x1];
            // Two channels at a time: 0x00ff00ff lanes leave room for the carry.
            const quint32 lo = ((a & 0x00ff00ff) + (b & 0x00ff00ff) + (c & 0x00ff00ff) + (d & 0x00ff00ff) + 0x00020002) >> 2;
            const quint32 hi = (((a >> 8) & 0x00ff00ff) + ((b >> 8) & 0x00ff00ff) + ((c >> 8) & 0x00ff00ff)
                                + ((d >> 8) & 0x00ff00ff) + 0x00020002) >> 2;
            out[x] = (lo & 0x00ff00ff) | ((hi & 0x00ff00ff) << 8);
        }
    }
}

void PanoramaMipmapBands::addBand(int y, const uchar *pixels, int rows, qsizetype stride, const Sink &sink)
{
    sink(0, y, pixels, m_size.width(), rows, stride);
    if (m_bandLevels == 0) {
        for (int r = 0; r < rows; ++r)
            std::copy_n(pixels + qsizetype(r) * stride, m_size.width() * 4, m_lastBandLevel.scanLine(y + r));
        return;
    }
    const uchar *source = pixels;
    qsizetype sourceStride = stride;
    int sourceRows = rows;
    int sourceWidth = m_size.width();
    QImage previous;
    for (int level = 1; level <= m_bandLevels; ++level) {
        const QSize size = levelSize(m_size, level);
        const int first = y >> level;
        const int end = std::min(size.height(), (y + rows + (1 << level) - 1) >> level);
        const int count = end - first;
        if (count <= 0)
            return;
        QImage band(size.width(), count, QImage::Format_RGB32);
        downsample(source, sourceWidth, sourceRows, sourceStride, band.bits(), size.width(), count, band.bytesPerLine());
        sink(level, first, band.constBits(), size.width(), count, band.bytesPerLine());
        if (level == m_bandLevels) {
            for (int r = 0; r < count; ++r)
                std::copy_n(band.constScanLine(r), size.width() * 4, m_lastBandLevel.scanLine(first + r));
        }
        previous = band;
        source = previous.constBits();
        sourceStride = previous.bytesPerLine();
        sourceRows = count;
        sourceWidth = size.width();
    }
}

void PanoramaMipmapBands::finish(const Sink &sink)
{
    QImage source = m_lastBandLevel;
    for (int level = m_bandLevels + 1; level < levelCount(m_size); ++level) {
        const QSize size = levelSize(m_size, level);
        QImage target(size, QImage::Format_RGB32);
        downsample(source.constBits(), source.width(), source.height(), source.bytesPerLine(), target.bits(),
                   size.width(), size.height(), target.bytesPerLine());
        sink(level, 0, target.constBits(), size.width(), size.height(), target.bytesPerLine());
        source = target;
    }
}
