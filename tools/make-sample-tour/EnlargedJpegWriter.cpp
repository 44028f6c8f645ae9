#include "EnlargedJpegWriter.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int largestSide = 65535;

struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// Everything that lives across the long jump of an error stays behind one
// pointer that is never reassigned after setjmp.
struct EncodeState
{
    jpeg_compress_struct info{};
    ErrorManager errors{};
    FILE *file = nullptr;
    std::vector<JSAMPLE> row;

    ~EncodeState()
    {
        jpeg_destroy_compress(&info);
        if (file)
            std::fclose(file);
    }
};

// Row y of the enlargement: each pixel repeats the nearest one of the picture.
void enlargedRow(const QImage &picture, int width, int height, int y, std::vector<JSAMPLE> &row)
{
    const auto *source = reinterpret_cast<const QRgb *>(
        picture.constScanLine(int(qint64(y) * picture.height() / height)));
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = source[qint64(x) * picture.width() / width];
        row[std::size_t(x) * 3] = JSAMPLE(qRed(pixel));
        row[std::size_t(x) * 3 + 1] = JSAMPLE(qGreen(pixel));
        row[std::size_t(x) * 3 + 2] = JSAMPLE(qBlue(pixel));
    }
}

} // namespace

namespace EnlargedJpegWriter {

bool write(const QImage &picture, QSize size, int quality, const QString &path)
{
    if (picture.isNull() || size.isEmpty() || size.width() > largestSide || size.height() > largestSide)
        return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const auto state = std::make_unique<EncodeState>();
    state->file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!state->file)
        return false;
    jpeg_compress_struct &info = state->info;
    info.err = jpeg_std_error(&state->errors.manager);
    state->errors.manager.error_exit = onError;
    jpeg_create_compress(&info);
    if (setjmp(state->errors.jump))
        return false;
    jpeg_stdio_dest(&info, state->file);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    state->row.resize(std::size_t(size.width()) * 3);
    while (int(info.next_scanline) < size.height()) {
        enlargedRow(rgb, size.width(), size.height(), int(info.next_scanline), state->row);
        JSAMPROW row = state->row.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return std::fflush(state->file) == 0;
}

} // namespace EnlargedJpegWriter
