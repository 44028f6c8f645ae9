#include "PanoramaMipmapBands.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

PanoramaMipmapBands::PanoramaMipmapBands(QSize size)
{
    reset(size);
}

void PanoramaMipmapBands::reset(QSize size)
{
    m_size = size;
    m_bandLevels = bandLevels(size);
    m_lastBandLevel = QImage(levelSize(size, m_bandLevels), QImage::Format_RGBA8888);
}

int PanoramaMipmapBands::bandLevels(QSize size)
{
    // Both sides at least 1 at that level and bandRows >> level at least 1.
    const int smallerSide = std::max(1, std::min(size.width(), size.height()));
    return std::min(std::bit_width(unsigned(bandRows)) - 1, std::bit_width(unsigned(smallerSide)) - 1);
}

int PanoramaMipmapBands::levelCount(QSize size)
{
    return std::bit_width(unsigned(std::max(1, std::max(size.width(), size.height()))));
}

QSize PanoramaMipmapBands::levelSize(QSize size, int level)
{
    return {std::max(1, size.width() >> level), std::max(1, size.height() >> level)};
}

int PanoramaMipmapBands::levelRows(QSize size, int level, int y, int rows)
{
    return std::min(levelSize(size, level).height(), (y + rows + (1 << level) - 1) >> level) - (y >> level);
}

qint64 PanoramaMipmapBands::chainBytes(QSize size)
{
    qint64 bytes = 0;
    for (int level = 0; level < levelCount(size); ++level) {
        const QSize s = levelSize(size, level);
        bytes += qint64(s.width()) * s.height() * 4;
    }
    return bytes;
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

void PanoramaMipmapBands::expandRgb(const uchar *source, int width, int rows, qsizetype sourceStride, uchar *target,
                                    qsizetype targetStride)
{
    for (int y = 0; y < rows; ++y) {
        const uchar *in = source + qsizetype(y) * sourceStride;
        auto *out = reinterpret_cast<quint32 *>(target + qsizetype(y) * targetStride);
        // Four bytes read per pixel, the fourth (the next pixel's red) masked
        // by the alpha; the last pixel of a row must not read past it.
        for (int x = 0; x + 1 < width; ++x) {
            quint32 rgb;
            std::memcpy(&rgb, in + 3 * x, 4);
            out[x] = qToLittleEndian(qFromLittleEndian(rgb) | 0xff000000u);
        }
        if (width > 0) {
            const uchar *last = in + 3 * (width - 1);
            out[width - 1] = qToLittleEndian(quint32(last[0]) | quint32(last[1]) << 8 | quint32(last[2]) << 16 | 0xff000000u);
        }
    }
}

namespace {

// One row of narrow(), with its two constants known to the compiler.
template<int bytesPerPixel, int factor>
void narrowRow(const uchar *in, int targetWidth, uchar *out)
{
    for (int x = 0; x < targetWidth; ++x) {
        const uchar *group = in + qsizetype(x) * factor * bytesPerPixel;
        for (int c = 0; c < 3; ++c) {
            int sum = factor / 2;
            for (int i = 0; i < factor; ++i)
                sum += group[i * bytesPerPixel + c];
            out[4 * x + c] = uchar(sum / factor);
        }
        if constexpr (bytesPerPixel == 3) {
            out[4 * x + 3] = 0xff;
        } else {
            int sum = factor / 2;
            for (int i = 0; i < factor; ++i)
                sum += group[i * bytesPerPixel + 3];
            out[4 * x + 3] = uchar(sum / factor);
        }
    }
}

template<int bytesPerPixel>
void narrowRow(const uchar *in, int targetWidth, int factor, uchar *out)
{
    switch (factor) {
    case 2:
        return narrowRow<bytesPerPixel, 2>(in, targetWidth, out);
    case 4:
        return narrowRow<bytesPerPixel, 4>(in, targetWidth, out);
    default:
        return narrowRow<bytesPerPixel, 8>(in, targetWidth, out);
    }
}

} // namespace

void PanoramaMipmapBands::narrow(const uchar *source, int width, int rows, qsizetype sourceStride, int bytesPerPixel,
                                 int factor, uchar *target, qsizetype targetStride)
{
    Q_ASSERT(factor == 2 || factor == 4 || factor == 8);
    for (int y = 0; y < rows; ++y) {
        const uchar *in = source + qsizetype(y) * sourceStride;
        uchar *out = target + qsizetype(y) * targetStride;
        if (bytesPerPixel == 3)
            narrowRow<3>(in, width / factor, factor, out);
        else
            narrowRow<4>(in, width / factor, factor, out);
    }
}

void PanoramaMipmapBands::fit(QImage &image, int width, int rows)
{
    if (image.width() != width || image.height() < rows)
        image = QImage(width, rows, QImage::Format_RGBA8888);
}

void PanoramaMipmapBands::reserve(Band &band, QSize size)
{
    fit(band.base, size.width(), bandRows);
    const int levels = bandLevels(size);
    band.levels.resize(std::size_t(std::max(levels, 0)));
    for (int level = 1; level <= levels; ++level) {
        const QSize levelSize = PanoramaMipmapBands::levelSize(size, level);
        fit(band.levels[std::size_t(level - 1)], levelSize.width(), std::min(levelSize.height(), bandRows >> level));
    }
}

void PanoramaMipmapBands::prepare(Band &band, QSize size, int y, const uchar *pixels, int rows, qsizetype stride,
                                  int bytesPerPixel, int sourceWidth)
{
    band.y = y;
    band.rows = rows;
    if (bytesPerPixel == 4 && sourceWidth == size.width()) {
        band.pixels = pixels;
        band.stride = stride;
    } else {
        fit(band.base, size.width(), bandRows);
        if (sourceWidth == size.width())
            expandRgb(pixels, size.width(), rows, stride, band.base.bits(), band.base.bytesPerLine());
        else
            narrow(pixels, sourceWidth, rows, stride, bytesPerPixel, sourceWidth / size.width(), band.base.bits(),
                   band.base.bytesPerLine());
        band.pixels = band.base.constBits();
        band.stride = band.base.bytesPerLine();
    }
    const uchar *source = band.pixels;
    qsizetype sourceStride = band.stride;
    int sourceRows = rows;
    band.levelCount = 0;
    const int levels = bandLevels(size);
    band.levels.resize(std::size_t(std::max(levels, 0)));
    for (int level = 1; level <= levels; ++level) {
        const QSize levelSize = PanoramaMipmapBands::levelSize(size, level);
        const int count = levelRows(size, level, y, rows);
        if (count <= 0)
            break;
        QImage &rowsOfLevel = band.levels[std::size_t(level - 1)];
        fit(rowsOfLevel, levelSize.width(), count);
        downsample(source, PanoramaMipmapBands::levelSize(size, level - 1).width(), sourceRows, sourceStride,
                   rowsOfLevel.bits(), levelSize.width(), count, rowsOfLevel.bytesPerLine());
        ++band.levelCount;
        source = rowsOfLevel.constBits();
        sourceStride = rowsOfLevel.bytesPerLine();
        sourceRows = count;
    }
}

void PanoramaMipmapBands::add(const Band &band, const Sink &sink)
{
    sink(0, band.y, band.pixels, m_size.width(), band.rows, band.stride);
    if (m_bandLevels == 0) {
        for (int r = 0; r < band.rows; ++r)
            std::copy_n(band.pixels + qsizetype(r) * band.stride, m_size.width() * 4,
                        m_lastBandLevel.scanLine(band.y + r));
    }
    for (int level = 1; level <= band.levelCount; ++level) {
        const QImage &rowsOfLevel = band.levels[std::size_t(level - 1)];
        const int first = band.y >> level;
        const int rows = levelRows(m_size, level, band.y, band.rows);
        sink(level, first, rowsOfLevel.constBits(), rowsOfLevel.width(), rows, rowsOfLevel.bytesPerLine());
        if (level == m_bandLevels) {
            for (int r = 0; r < rows; ++r)
                std::copy_n(rowsOfLevel.constScanLine(r), rowsOfLevel.width() * 4, m_lastBandLevel.scanLine(first + r));
        }
    }
}

void PanoramaMipmapBands::addBand(int y, const uchar *pixels, int rows, qsizetype stride, int bytesPerPixel,
                                  const Sink &sink)
{
    prepare(m_band, m_size, y, pixels, rows, stride, bytesPerPixel, m_size.width());
    add(m_band, sink);
}

void PanoramaMipmapBands::finish(const Sink &sink)
{
    QImage source = m_lastBandLevel;
    for (int level = m_bandLevels + 1; level < levelCount(m_size); ++level) {
        const QSize size = levelSize(m_size, level);
        QImage target(size, QImage::Format_RGBA8888);
        downsample(source.constBits(), source.width(), source.height(), source.bytesPerLine(), target.bits(),
                   size.width(), size.height(), target.bytesPerLine());
        sink(level, 0, target.constBits(), size.width(), size.height(), target.bytesPerLine());
        source = target;
    }
}
