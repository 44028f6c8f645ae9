#pragma once

#include "PanoramaJpegDecoder.h"

#include <QImage>
#include <QSize>
#include <QUrl>

class LumivaneImageCache;

/// The decode of one panorama photo on its way to the GPU: a JPEG goes on
/// band by band while it decodes, anything else (and a JPEG that the band
/// decoder leaves to the general one) whole once decoded. Large photos also
/// get a preview, a copy an eighth of their size on each side that is shown
/// until the photo itself is on the GPU. Runs on a pool thread; knows nothing
/// of GL or of where the sink sends the pixels.
namespace PanoramaPhotoDecode {

/// Rows a decode hands on at a time: a multiple of the mipmap bands, and a
/// divisor of the strips, so that a band never spans two strips.
constexpr int bandRows = 256;
/// How much smaller a preview is on each side.
constexpr int previewScale = 8;
/// Photos at least this wide get a preview; smaller ones show fast enough.
constexpr int previewFromWidth = 4096;

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

/// Decodes the photo file of `url` into `sink`, neither side longer than
/// maxSide (the GPU's texture limit), and keeps the photo in `cache`. A JPEG
/// takes the band decoder, reduced while it decodes, unless it is left to
/// the general decoder.
void decodeInto(Sink &sink, const QUrl &url, LumivaneImageCache &cache, int maxSide);

/// The preview of a large JPEG photo as decodeInto() gives it within
/// maxSide, decoded with DCT scaling, which skips most of the work of a full
/// decode; a null image for other photos.
PanoramaJpegDecoder::Reduced decodePreview(const QUrl &url, int maxSide);

/// The preview of a decoded photo (24-bit RGB or 32-bit RGBA rows), sampled
/// from it in the same layout; null when the photo is too small for one.
QImage previewOf(const QImage &photo);

} // namespace PanoramaPhotoDecode
