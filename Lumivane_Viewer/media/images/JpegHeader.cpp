#include "JpegHeader.h"

#include "JpegDecompression.h"

#include <QFile>

namespace {

std::optional<JpegHeader> readHeader(std::unique_ptr<JpegDecompression> decompression)
{
    if (!decompression)
        return std::nullopt;
    if (setjmp(decompression->jump))
        return std::nullopt;
    jpeg_read_header(&decompression->info, TRUE);
    return JpegHeader::of(decompression->info);
}

} // namespace

bool JpegHeader::startsLikeAJpeg(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArray("\xFF\xD8", 2));
}

std::optional<JpegHeader> JpegHeader::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !startsLikeAJpeg(file.read(2)))
        return std::nullopt;
    return readHeader(JpegDecompression::openFile(path));
}

std::optional<JpegHeader> JpegHeader::readData(const QByteArray &bytes)
{
    if (!startsLikeAJpeg(bytes))
        return std::nullopt;
    return readHeader(JpegDecompression::openData(bytes));
}

JpegHeader JpegHeader::of(jpeg_decompress_struct &info)
{
    JpegHeader header{QSize(int(info.image_width), int(info.image_height)), 0};
    if (!jpeg_has_multiple_scans(&info))
        return header;
    // libjpeg keeps every coefficient block of every component, in rows and
    // columns rounded up to whole sampling units, until the last scan.
    const auto roundedUp = [](qint64 count, qint64 unit) { return (count + unit - 1) / unit * unit; };
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info &component = info.comp_info[i];
        header.wholePictureBytes += roundedUp(component.width_in_blocks, component.h_samp_factor)
            * roundedUp(component.height_in_blocks, component.v_samp_factor) * qint64(sizeof(JBLOCK));
    }
    return header;
}
