#include "PanoramaPhotoDecode.h"

#include "PanoramaJpegDecoder.h"
#include "PanoramaMipmapBands.h"

#include "media/images/LumivaneImageCache.h"

namespace PanoramaPhotoDecode {

void decodeInto(Sink &sink, const QUrl &url, LumivaneImageCache &cache, int maxSide, PanoramaSpareImage *spare)
{
    const QString path = url.toLocalFile();
    if (PanoramaJpegDecoder::canDecode(path)) {
        const QImage image = PanoramaJpegDecoder::decode(
            path, maxSide, PanoramaMipmapBands::bandRows, [&sink](QSize size) { sink.begin(size); },
            [&sink](const QImage &decoded, int y, int rows) { sink.addBand(decoded, y, rows); }, spare);
        if (!image.isNull()) {
            cache.store(url, image);
            sink.finish();
            return;
        }
        sink.abort();
    }
    // Other formats, turned photos and damaged files: the general decoder.
    sink.whole(cache.image(url));
}

} // namespace PanoramaPhotoDecode
