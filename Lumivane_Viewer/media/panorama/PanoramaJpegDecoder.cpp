#include "PanoramaJpegDecoder.h"

#include "media/images/ImageDecodeBudget.h"
#include "media/images/ImagePagePopulator.h"
#include "media/images/JpegDecompression.h"
#include "media/images/JpegReducedDecode.h"

#include <QFile>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int rgbBytes = 3;

// Everything that lives across the long jump of an error stays behind one
// pointer that is never reassigned after setjmp.
struct DecodeState
{
    std::unique_ptr<JpegDecompression> jpeg;
    QImage image;
    // Joined before the image goes, also when an error jumps out of the decode.
    std::optional<ImagePagePopulator> populator;
    std::vector<JSAMPROW> rows;
};

quint32 readNumber(const uchar *p, int bytes, bool bigEndian)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= quint32(p[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return value;
}

// The orientation tag of an Exif block (1 when absent or unreadable).
int exifOrientation(const jpeg_decompress_struct &info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        const uchar *data = marker->data;
        const quint32 length = marker->data_length;
        if (marker->marker != JPEG_APP0 + 1 || length < 14 || std::memcmp(data, "Exif\0\0", 6) != 0)
            continue;
        const uchar *tiff = data + 6;
        const quint32 size = length - 6;
        const bool bigEndian = tiff[0] == 'M';
        // Offsets come from the file: added in 64 bits so that none wraps.
        const quint64 ifd = readNumber(tiff + 4, 4, bigEndian);
        if (ifd + 2 > size)
            return 1;
        const quint32 count = readNumber(tiff + ifd, 2, bigEndian);
        for (quint64 i = 0; i < count && ifd + 2 + 12 * (i + 1) <= size; ++i) {
            const uchar *entry = tiff + ifd + 2 + 12 * i;
            if (readNumber(entry, 2, bigEndian) == 0x0112)
                return int(readNumber(entry + 8, 2, bigEndian));
        }
    }
    return 1;
}

// Reads the header and sets the decode up at the smallest DCT reduction that
// keeps both sides within maxSide; false when the photo is not one this
// decoder takes (see decode()).
bool setUp(DecodeState &state, int maxSide)
{
    jpeg_decompress_struct &info = state.jpeg->info;
    if (setjmp(state.jpeg->jump))
        return false;
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK || exifOrientation(info) != 1)
        return false;
    const int reduction = ImageDecodeBudget::reductionWithin(QSize(int(info.image_width), int(info.image_height)), maxSide);
    if (reduction == 0 || !ImageDecodeBudget::allows(JpegHeader::of(info), reduction, rgbBytes))
        return false;
    info.scale_num = 1;
    info.scale_denom = unsigned(reduction);
    info.out_color_space = JCS_RGB;
    return true;
}

// The photo's file opened and set up; null when setUp() declines it.
std::unique_ptr<DecodeState> openPhoto(const QString &path, int maxSide)
{
    auto state = std::make_unique<DecodeState>();
    state->jpeg = JpegDecompression::openFile(path);
    if (!state->jpeg || !setUp(*state, maxSide))
        return nullptr;
    return state;
}

} // namespace

bool PanoramaJpegDecoder::canDecode(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && JpegHeader::startsLikeAJpeg(file.read(2));
}

QImage PanoramaJpegDecoder::decode(const QString &path, int maxSide, int bandRows, const SizeSink &sizeSink,
                                   const BandSink &bandSink)
{
    const std::unique_ptr<DecodeState> state = openPhoto(path, maxSide);
    if (!state)
        return {};
    jpeg_decompress_struct &info = state->jpeg->info;
    if (setjmp(state->jpeg->jump))
        return {};
    jpeg_start_decompress(&info);
    state->image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (state->image.isNull())
        return {};
    // Written through this pointer only: handing copies of the image on must
    // not make the decoder detach it.
    uchar *const bits = state->image.bits();
    const qsizetype stride = state->image.bytesPerLine();
    const int height = state->image.height();
    state->populator.emplace(state->image);
    sizeSink(state->image.size());
    state->rows.resize(std::size_t(bandRows));
    int bandStart = 0;
    while (int(info.output_scanline) < height) {
        const int first = int(info.output_scanline);
        const int wanted = std::min(bandStart + bandRows, height) - first;
        for (int i = 0; i < wanted; ++i)
            state->rows[std::size_t(i)] = bits + qsizetype(first + i) * stride;
        jpeg_read_scanlines(&info, state->rows.data(), JDIMENSION(wanted));
        const int decoded = int(info.output_scanline);
        if (decoded == std::min(bandStart + bandRows, height)) {
            bandSink(state->image, bandStart, decoded - bandStart);
            bandStart = decoded;
        }
    }
    jpeg_finish_decompress(&info);
    return state->image;
}

PanoramaJpegDecoder::Reduced PanoramaJpegDecoder::decodeReduced(const QString &path, int maxSide, int scale,
                                                                int minWidth)
{
    const std::unique_ptr<DecodeState> state = openPhoto(path, maxSide);
    if (!state)
        return {};
    const int reduction = int(state->jpeg->info.scale_denom);
    const QSize photoSize =
        ImageDecodeBudget::reduced(QSize(int(state->jpeg->info.image_width), int(state->jpeg->info.image_height)), reduction);
    if (photoSize.width() < minWidth)
        return {};
    return {JpegReducedDecode::decodeFile(path, reduction * scale), photoSize};
}
