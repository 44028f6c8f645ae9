#include "JpegReducedDecode.h"

#include "ImageDecodeBudget.h"
#include "ImagePagePopulator.h"
#include "JpegDecompression.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int rgbBytes = 3;
constexpr int largestDctReduction = 8;

// Everything that lives across the long jump of an error, out of the frame
// that jumps.
struct Decode
{
    std::unique_ptr<JpegDecompression> jpeg;
    QImage image;
    // Joined before the image goes, also when an error jumps out of the decode.
    std::optional<ImagePagePopulator> populator;
    // A decoded row as libjpeg gives it, and the sums of the blocks of
    // pixels it adds to.
    std::vector<JSAMPLE> row;
    std::vector<quint32> sums;
};

// CMYK as Adobe's encoders write it, inverted, turned into RGB as Qt's
// reader does. `rgb` may be `cmyk` itself: each pixel is read before its
// RGB is written, never past it.
void cmykToRgb(const uchar *cmyk, uchar *rgb, int width)
{
    for (int x = 0; x < width; ++x) {
        const uchar *in = cmyk + x * 4;
        const int c = in[0], m = in[1], y = in[2], k = in[3];
        uchar *out = rgb + x * rgbBytes;
        out[0] = uchar(k * c / 255);
        out[1] = uchar(k * m / 255);
        out[2] = uchar(k * y / 255);
    }
}

// The next row into `rgb`, of output_width pixels.
void readRow(Decode &decode, uchar *rgb)
{
    jpeg_decompress_struct &info = decode.jpeg->info;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    JSAMPROW row = cmyk ? decode.row.data() : rgb;
    jpeg_read_scanlines(&info, &row, 1);
    if (cmyk)
        cmykToRgb(decode.row.data(), rgb, int(info.output_width));
}

void readRows(Decode &decode)
{
    jpeg_decompress_struct &info = decode.jpeg->info;
    uchar *const bits = decode.image.bits();
    while (info.output_scanline < info.output_height)
        readRow(decode, bits + qsizetype(info.output_scanline) * decode.image.bytesPerLine());
}

// Reads every row and averages each block of block x block pixels into one
// of the image, a row of blocks at a time.
void readAveraged(Decode &decode, int block)
{
    jpeg_decompress_struct &info = decode.jpeg->info;
    const int width = int(info.output_width);
    const int blocksAcross = decode.image.width();
    decode.sums.assign(std::size_t(blocksAcross) * rgbBytes, 0);
    int rowsSummed = 0;
    int outputRow = 0;
    while (info.output_scanline < info.output_height) {
        uchar *const row = decode.row.data();
        readRow(decode, row);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < rgbBytes; ++c)
                decode.sums[std::size_t(x / block * rgbBytes + c)] += row[x * rgbBytes + c];
        }
        if (++rowsSummed < block && info.output_scanline < info.output_height)
            continue;
        uchar *out = decode.image.scanLine(outputRow++);
        for (int b = 0; b < blocksAcross; ++b) {
            const quint32 count = quint32(std::min(block, width - b * block) * rowsSummed);
            for (int c = 0; c < rgbBytes; ++c)
                out[b * rgbBytes + c] = uchar((decode.sums[std::size_t(b * rgbBytes + c)] + count / 2) / count);
        }
        std::fill(decode.sums.begin(), decode.sums.end(), 0u);
        rowsSummed = 0;
    }
}

// False when the picture cannot be read or exceeds the budget.
bool decodeInto(Decode &state, int reduction)
{
    jpeg_decompress_struct &info = state.jpeg->info;
    if (setjmp(state.jpeg->jump))
        return false;
    jpeg_read_header(&info, TRUE);
    const JpegHeader header = JpegHeader::of(info);
    if (!ImageDecodeBudget::allows(header, reduction, rgbBytes))
        return false;
    const int dctReduction = std::min(reduction, largestDctReduction);
    const int block = reduction / dctReduction;
    info.scale_num = 1;
    info.scale_denom = unsigned(dctReduction);
    // libjpeg makes no RGB of CMYK colours: those are converted row by row.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    state.row.resize(std::size_t(info.output_width) * std::size_t(info.output_components));
    state.image = QImage((int(info.output_width) + block - 1) / block, (int(info.output_height) + block - 1) / block,
                         QImage::Format_RGB888);
    if (state.image.isNull())
        return false;
    if (block > 1) {
        readAveraged(state, block);
    } else {
        state.populator.emplace(state.image);
        readRows(state);
    }
    jpeg_finish_decompress(&info);
    return true;
}

QImage decode(std::unique_ptr<JpegDecompression> jpeg, int reduction)
{
    if (!jpeg || reduction < 1)
        return {};
    Decode state{std::move(jpeg), {}, {}, {}, {}};
    if (!decodeInto(state, reduction))
        return {};
    state.populator.reset();
    return state.image;
}

} // namespace

namespace JpegReducedDecode {

QImage decodeFile(const QString &path, int reduction)
{
    return decode(JpegDecompression::openFile(path), reduction);
}

QImage decodeData(const QByteArray &bytes, int reduction)
{
    return decode(JpegDecompression::openData(bytes), reduction);
}

} // namespace JpegReducedDecode
