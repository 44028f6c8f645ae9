#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

/// Decodes a JPEG photo with libjpeg-turbo straight into 24-bit RGB rows (the
/// form in which the image cache keeps photos) and hands every band of rows
/// on as soon as it is decoded, so that the upload of a large panorama runs
/// alongside its decode instead of after it. A photo larger than the GPU
/// takes is reduced by the DCT scaling of libjpeg-turbo while it decodes, so
/// that it is never held at its full size; reduced copies skip most of the
/// work the same way.
class PanoramaJpegDecoder final
{
public:
    using SizeSink = std::function<void(QSize size)>;
    /// `image` is the photo being decoded: rows [y, y + rows) are final.
    using BandSink = std::function<void(const QImage &image, int y, int rows)>;

    /// A reduced copy of a photo and the size of the photo as decode() gives it.
    struct Reduced
    {
        QImage image;
        QSize fullSize;
    };

    /// Whether the file is a JPEG. Others take the general decoder.
    static bool canDecode(const QString &path);

    /// The whole decoded photo (Format_RGB888) at the smallest reduction (1,
    /// 1/2, 1/4 or 1/8) that keeps both sides within maxSide, or a null image
    /// when the photo is left to the general decoder (an orientation tag
    /// asking for a turn, CMYK colours, a side longer than maxSide even at
    /// 1/8, which the general decoder scales to fit), exceeds the decode
    /// budget, or could not be read (also when it has more scans than
    /// ImageDecodeBudget::scanLimit); sizeSink may then have been called and
    /// some bands handed on already.
    static QImage decode(const QString &path, int maxSide, int bandRows, const SizeSink &sizeSink,
                         const BandSink &bandSink);

    /// The photo as decode() gives it within maxSide, made `scale` times
    /// smaller on each side (a power of two) while it decodes
    /// (JpegReducedDecode); Format_RGB888. A null image where decode() would
    /// decline the photo or gives it narrower than minWidth.
    static Reduced decodeReduced(const QString &path, int maxSide, int scale, int minWidth);
};
