#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

/// Builds the mipmap chain of a photo band by band, as its rows become
/// available from top to bottom, so that each band can go to the GPU while
/// the next one is still being decoded. Takes 24-bit RGB or 32-bit RGBA rows
/// and hands on 32-bit RGBA rows (opaque where the photo had no alpha), the
/// layout that GL copies without converting. Box filter on 32-bit pixels.
class PanoramaMipmapBands final
{
public:
    /// Rows per band at full size; a power of two so that bands stay aligned
    /// down the first levels.
    static constexpr int bandRows = 256;

    /// Receives the rows [y, y + rows) of one mipmap level.
    using Sink = std::function<void(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride)>;

    explicit PanoramaMipmapBands(QSize size);
    /// Starts over for a picture of `size`, keeping the buffers of the last
    /// one where they fit.
    void reset(QSize size);

    static int levelCount(QSize size);
    static QSize levelSize(QSize size, int level);
    /// Bytes of the whole chain at 32 bits per pixel.
    static qint64 chainBytes(QSize size);

    /// Hands the band starting at full-size row y (a multiple of bandRows,
    /// bands in order; 3 or 4 bytes per pixel) and the rows it yields on the
    /// following levels.
    void addBand(int y, const uchar *pixels, int rows, qsizetype stride, int bytesPerPixel, const Sink &sink);
    /// Hands the remaining small levels once every band has been added.
    void finish(const Sink &sink);

    /// 2x2 box filter of `rows` output rows; the last source row and column
    /// repeat where the source has an odd size.
    static void downsample(const uchar *source, int sourceWidth, int sourceRows, qsizetype sourceStride, uchar *target,
                           int targetWidth, int targetRows, qsizetype targetStride);

    /// Rows of `width` pixels (3 or 4 bytes each) to RGBA rows `factor`
    /// times narrower, each pixel the average of `factor` side by side;
    /// opaque where the source had no alpha.
    static void narrow(const uchar *source, int width, int rows, qsizetype sourceStride, int bytesPerPixel, int factor,
                       uchar *target, qsizetype targetStride);
    /// RGB rows to opaque RGBA rows.
    static void expandRgb(const uchar *source, int width, int rows, qsizetype sourceStride, uchar *target,
                          qsizetype targetStride);

private:
    QSize m_size;
    int m_bandLevels = 0;
    QImage m_lastBandLevel;
    QImage m_expanded;
    /// One band's rows on each level, by level.
    std::vector<QImage> m_levelBands;
};
