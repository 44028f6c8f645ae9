#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

/// Decodes a JPEG photo with libjpeg-turbo straight into 24-bit RGB rows (the
/// form in which the image cache keeps photos) and hands every band of rows
/// on as soon as it is decoded, so that the upload of a large panorama runs
/// alongside its decode instead of after it. Also decodes reduced copies with
/// the DCT scaling of libjpeg-turbo, which skips most of the work.
class PanoramaJpegDecoder final
{
public:
    using SizeSink = std::function<void(QSize size)>;
    /// `image` is the photo being decoded: rows [y, y + rows) are final.
    using BandSink = std::function<void(const QImage &image, int y, int rows)>;

    /// A reduced copy of a photo and the size of the photo itself.
    struct Reduced
    {
        QImage image;
        QSize fullSize;
    };

    /// Whether the file is a JPEG. Others take the general decoder.
    static bool canDecode(const QString &path);

    /// The whole decoded photo (Format_RGB888), or a null image when the
    /// photo is left to the general decoder (an orientation tag asking for a
    /// turn, CMYK colours, a side longer than maxSide, which the uploader
    /// scales to fit exactly) or could not be read; sizeSink may then have been
    /// called and some bands handed on already.
    static QImage decode(const QString &path, int maxSide, int bandRows, const SizeSink &sizeSink,
                         const BandSink &bandSink);

    /// The photo decoded at 1/scale of its size (scale 1, 2, 4 or 8;
    /// Format_RGB888), or a null image where decode() would decline it or
    /// the photo is narrower than minWidth.
    static Reduced decodeReduced(const QString &path, int scale, int minWidth);
};
