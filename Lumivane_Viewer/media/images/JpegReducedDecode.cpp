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
    // A decoded row, and the sums of the blocks of pixels it adds to.
    std::vector<JSAMPLE> row;
    std::vector<quint32> sums;
};

void readRows(Decode &decode)
{
    jpeg_decompress_struct &info = decode.jpeg->info;
    uchar *const bits = decode.image.bits();
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + qsizetype(info.output_scanline) * decode.image.bytesPerLine();
        jpeg_read_scanlines(&info, &row, 1);
    }
}

// Reads every row and averages each block of block x block pixels into one
// of the image, a row of blocks at a time.
void readAveraged(Decode &decode, int block)
{
    jpeg_decompress_struct &info = decode.jpeg->info;
    const int width = int(info.output_width);
    const int blocksAcross = decode.image.width();
    decode.row.resize(std::size_t(width) * rgbBytes);
    decode.sums.assign(std::size_t(blocksAcross) * rgbBytes, 0);
    int rowsSummed = 0;
    int outputRow = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decode.row.data();
        jpeg_read_scanlines(&info, &row, 1);
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

// False when the picture cannot be read, is CMYK, or exceeds the budget.
bool decodeInto(Decode &state, int reduction)
{
    jpeg_decompress_struct &info = state.jpeg->info;
    if (setjmp(state.jpeg->jump))
        return false;
    jpeg_read_header(&info, TRUE);
    const JpegHeader header = JpegHeader::of(info);
    if (header.cmyk || !ImageDecodeBudget::allows(header, reduction, rgbBytes))
        return false;
    const int dctReduction = std::min(reduction, largestDctReduction);
    const int block = reduction / dctReduction;
    info.scale_num = 1;
    info.scale_denom = unsigned(dctReduction);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
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
