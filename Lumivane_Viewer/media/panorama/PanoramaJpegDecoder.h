#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class PanoramaSpareImage;

/// Decodes a JPEG photo with libjpeg-turbo straight into 32-bit rows and
/// hands every band of rows on as soon as it is decoded, so that the upload
/// of a large panorama runs alongside its decode instead of after it.
class PanoramaJpegDecoder final
{
public:
    using SizeSink = std::function<void(QSize size)>;
    /// `image` is the photo being decoded: rows [y, y + rows) are final.
    using BandSink = std::function<void(const QImage &image, int y, int rows)>;

    /// Whether the file is a JPEG. Others take the general decoder.
    static bool canDecode(const QString &path);

    /// The whole decoded photo (Format_RGB32), or a null image when the
    /// photo is left to the general decoder (an orientation tag asking for a
    /// turn, CMYK colours, a side longer than maxSide, which the uploader
    /// scales to fit exactly) or could not be read; sizeSink may then have been
    /// called and some bands handed on already. With a spare, the photo is
    /// decoded into its buffer and a buffer for the next one is prepared.
    static QImage decode(const QString &path, int maxSide, int bandRows, const SizeSink &sizeSink,
                         const BandSink &bandSink, PanoramaSpareImage *spare = nullptr);
};
