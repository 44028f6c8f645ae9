#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

/// Builds the mipmap chain of a photo band by band, as its rows become
/// available from top to bottom, so that each band can go to the GPU while
/// the next one is still being decoded. Box filter on 32-bit pixels.
class PanoramaMipmapBands final
{
public:
    /// Rows per band at full size; a power of two so that bands stay aligned
    /// down the first levels.
    static constexpr int bandRows = 256;

    /// Receives the rows [y, y + rows) of one mipmap level.
    using Sink = std::function<void(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride)>;

    explicit PanoramaMipmapBands(QSize size);

    static int levelCount(QSize size);
    static QSize levelSize(QSize size, int level);

    /// Hands the band starting at full-size row y (a multiple of bandRows,
    /// bands in order) and the rows it yields on the following levels.
    void addBand(int y, const uchar *pixels, int rows, qsizetype stride, const Sink &sink);
    /// Hands the remaining small levels once every band has been added.
    void finish(const Sink &sink);

    /// 2x2 box filter of `rows` output rows; the last source row and column
    /// repeat where the source has an odd size.
    static void downsample(const uchar *source, int sourceWidth, int sourceRows, qsizetype sourceStride, uchar *target,
                           int targetWidth, int targetRows, qsizetype targetStride);

private:
    QSize m_size;
    int m_bandLevels = 0;
    QImage m_lastBandLevel;
};
