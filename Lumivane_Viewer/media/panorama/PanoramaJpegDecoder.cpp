#include "PanoramaJpegDecoder.h"

#include "PanoramaSpareImage.h"

#include <QFile>

#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void onMessage(j_common_ptr) {}

// Everything that lives across the long jump of an error stays behind one
// pointer that is never reassigned after setjmp.
struct DecodeState
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    FILE *file = nullptr;
    QImage image;
    std::vector<JSAMPROW> rows;

    ~DecodeState()
    {
        jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
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

} // namespace

bool PanoramaJpegDecoder::canDecode(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == QByteArray("\xFF\xD8\xFF", 3);
}

QImage PanoramaJpegDecoder::decode(const QString &path, int maxSide, int bandRows, const SizeSink &sizeSink,
                                   const BandSink &bandSink, PanoramaSpareImage *spare)
{
    const auto state = std::make_unique<DecodeState>();
    state->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!state->file)
        return {};
    jpeg_decompress_struct &info = state->info;
    info.err = jpeg_std_error(&state->errors.manager);
    state->errors.manager.error_exit = onError;
    state->errors.manager.output_message = onMessage;
    jpeg_create_decompress(&info);
    if (setjmp(state->errors.jump))
        return {};
    jpeg_stdio_src(&info, state->file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK || exifOrientation(info) != 1
        || info.image_width > JDIMENSION(maxSide) || info.image_height > JDIMENSION(maxSide))
        return {};
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    const QSize size(int(info.output_width), int(info.output_height));
    if (spare) {
        state->image = spare->take(size);
        spare->prepare(size);
    } else {
        state->image = QImage(size, QImage::Format_RGB32);
    }
    if (state->image.isNull())
        return {};
    // Written through this pointer only: handing copies of the image on must
    // not make the decoder detach it.
    uchar *const bits = state->image.bits();
    const qsizetype stride = state->image.bytesPerLine();
    const int height = state->image.height();
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
