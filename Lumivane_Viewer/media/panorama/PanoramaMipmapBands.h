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
/// A band is prepared apart from the chain, on any thread, so that several
/// can be prepared at once; the chain then takes them in order.
class PanoramaMipmapBands final
{
public:
    /// Rows per band at full size; a power of two so that bands stay aligned
    /// down the first levels.
    static constexpr int bandRows = 128;

    /// Receives the rows [y, y + rows) of one mipmap level.
    using Sink = std::function<void(int level, int y, const uchar *pixels, int width, int rows, qsizetype stride)>;

    /// One band's rows on every level it reaches, in RGBA. Its buffers are
    /// kept for the next band prepared in it: fresh ones would cost their
    /// page faults every time, and the heaps of the threads that prepare
    /// bands would keep what they let go.
    struct Band
    {
        int y = 0;
        /// The full-size rows: in `base`, or in the caller's pixels when
        /// they were RGBA of the right width already.
        QImage base;
        const uchar *pixels = nullptr;
        int rows = 0;
        qsizetype stride = 0;
        /// Levels 1 and on (as far as the band reaches whole rows), the first `levelCount` of them.
        std::vector<QImage> levels;
        int levelCount = 0;
    };

    explicit PanoramaMipmapBands(QSize size);
    /// Starts over for a picture of `size`.
    void reset(QSize size);

    static int levelCount(QSize size);
    static QSize levelSize(QSize size, int level);
    /// Bytes of the whole chain at 32 bits per pixel.
    static qint64 chainBytes(QSize size);

    /// The band starting at row y (a multiple of bandRows, at most bandRows
    /// rows) of a picture of `size`, from rows of `sourceWidth` pixels of 3
    /// or 4 bytes: the picture's width, or that times 2, 4 or 8 when the
    /// columns are to be thinned. `pixels` must outlive the band.
    static void prepare(Band &band, QSize size, int y, const uchar *pixels, int rows, qsizetype stride,
                        int bytesPerPixel, int sourceWidth);
    /// Gives `band` the buffers that prepare() needs for a full band of a
    /// picture of `size`, on the caller's thread, so that the threads that
    /// prepare bands allocate nothing.
    static void reserve(Band &band, QSize size);
    /// Hands a prepared band (bands in order) and its rows on the following levels.
    void add(const Band &band, const Sink &sink);
    /// prepare() and add() in one, for rows of the picture's own width.
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
    /// Levels whose band rows stay whole.
    static int bandLevels(QSize size);
    /// How many rows of `level` the full-size rows [y, y + rows) reach.
    static int levelRows(QSize size, int level, int y, int rows);
    /// `image` with room for at least width x rows pixels, reused when it has.
    static void fit(QImage &image, int width, int rows);

    QSize m_size;
    int m_bandLevels = 0;
    QImage m_lastBandLevel;
    Band m_band;
};
