#include "PanoramaPhotoDecode.h"

#include "media/images/LumivaneImageCache.h"

#include <algorithm>

namespace PanoramaPhotoDecode {

void decodeInto(Sink &sink, const QUrl &url, LumivaneImageCache &cache, int maxSide)
{
    const QString path = url.toLocalFile();
    if (PanoramaJpegDecoder::canDecode(path)) {
        const QImage image = PanoramaJpegDecoder::decode(
            path, maxSide, bandRows, [&sink](QSize size) { sink.begin(size); },
            [&sink](const QImage &decoded, int y, int rows) { sink.addBand(decoded, y, rows); });
        if (!image.isNull()) {
            cache.store(url, image);
            sink.finish();
            return;
        }
        sink.abort();
    }
    // Other formats, turned photos and damaged files: the general decoder.
    sink.whole(cache.image(url, QSize(maxSide, maxSide)));
}

PanoramaJpegDecoder::Reduced decodePreview(const QUrl &url, int maxSide)
{
    const QString path = url.toLocalFile();
    if (!PanoramaJpegDecoder::canDecode(path))
        return {};
    return PanoramaJpegDecoder::decodeReduced(path, maxSide, previewScale, previewFromWidth);
}

QImage previewOf(const QImage &photo)
{
    if (photo.width() < previewFromWidth)
        return {};
    const int bytes = photo.depth() / 8;
    QImage preview((photo.width() + previewScale - 1) / previewScale,
                   (photo.height() + previewScale - 1) / previewScale, photo.format());
    // The four pixels at the centre of each block: enough against the
    // sparkle of single samples, without reading the whole photo.
    const auto sourceRow = [&photo](int y, int offset) {
        return photo.constScanLine(std::min(y * previewScale + offset, photo.height() - 1));
    };
    for (int y = 0; y < preview.height(); ++y) {
        const uchar *rows[2] = {sourceRow(y, previewScale / 2 - 1), sourceRow(y, previewScale / 2)};
        uchar *out = preview.scanLine(y);
        for (int x = 0; x < preview.width(); ++x) {
            const int x0 = std::min(x * previewScale + previewScale / 2 - 1, photo.width() - 1) * bytes;
            const int x1 = std::min(x * previewScale + previewScale / 2, photo.width() - 1) * bytes;
            for (int c = 0; c < bytes; ++c)
                out[x * bytes + c] = uchar((rows[0][x0 + c] + rows[0][x1 + c] + rows[1][x0 + c] + rows[1][x1 + c] + 2) / 4);
        }
    }
    return preview;
}

} // namespace PanoramaPhotoDecode
