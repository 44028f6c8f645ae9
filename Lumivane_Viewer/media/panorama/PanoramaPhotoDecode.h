#pragma once

#include <QImage>
#include <QSize>
#include <QUrl>

class LumivaneImageCache;
class PanoramaSpareImage;

/// The decode of one panorama photo on its way to the GPU: a JPEG goes on
/// band by band while it decodes, anything else (and a JPEG that the band
/// decoder leaves to the general one) whole once decoded. Runs on a pool
/// thread; knows nothing of GL or of where the sink sends the pixels.
namespace PanoramaPhotoDecode {

/// Where a decode hands the photo, in one of two orders: begin(), addBand()
/// for every band from the top, then finish() or abort(); or whole() alone.
/// After an abort() the decode ends with whole() from the general decoder.
class Sink
{
public:
    virtual ~Sink() = default;

    virtual void begin(QSize size) = 0;
    /// Rows [y, y + rows) of `image` are final.
    virtual void addBand(const QImage &image, int y, int rows) = 0;
    virtual void finish() = 0;
    virtual void abort() = 0;
    /// The whole photo; null when the file gives none.
    virtual void whole(const QImage &image) = 0;
};

/// Decodes the photo file of `url` into `sink` and keeps the photo in
/// `cache`. A JPEG is decoded into the spare's buffer when there is a spare,
/// and only when neither side is longer than maxSide.
void decodeInto(Sink &sink, const QUrl &url, LumivaneImageCache &cache, int maxSide, PanoramaSpareImage *spare);

} // namespace PanoramaPhotoDecode
