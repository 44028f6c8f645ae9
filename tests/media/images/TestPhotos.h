#pragma once

#include "tests/support/HostilePhotos.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

// Photo files for the image tests, written by code.
namespace TestPhotos {

// A left-to-right gradient with a red top half, so orientation shows.
inline QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(0, 0, width, height / 2), QColor(220, 20, 20));
    return image;
}

inline bool writeJpeg(const QString &path, const QImage &image)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}

inline bool writeJpeg(const QString &path, int width, int height)
{
    return writeJpeg(path, pattern(width, height));
}

// The JPEG with an Exif orientation tag asking readers to turn it: by
// default (6) a quarter clockwise.
inline QByteArray taggedToTurn(QByteArray jpeg, int orientation = 6)
{
    QByteArray tag = QByteArray::fromHex("FFE10022" "457869660000" "4D4D002A00000008" "0001"
                                         "011200030000000100060000" "00000000");
    tag[29] = char(orientation);
    return jpeg.insert(2, tag);
}

// `image` as libjpeg writes it: in CMYK when asked, inverted as Adobe's
// encoders write it (each of R, G, B is K times C, M, Y over 255); when asked,
// progressive with a restart marker after every unit of blocks.
inline QByteArray libjpegEncoded(const QImage &image, bool cmyk, bool restarts = false)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (restarts) {
        jpeg_simple_progression(&info);
        info.restart_interval = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(image.width()) * std::size_t(info.input_components));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            JSAMPLE *out = row.data() + x * info.input_components;
            const int k = std::max({colour.red(), colour.green(), colour.blue(), 1});
            const int channels[] = {colour.red(), colour.green(), colour.blue()};
            for (int c = 0; c < 3; ++c)
                out[c] = JSAMPLE(cmyk ? channels[c] * 255 / k : channels[c]);
            if (cmyk)
                out[3] = JSAMPLE(k);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

// A progressive JPEG that makes libjpeg walk `scans` scans, most of them
// hidden from a reader that skips markers by their lengths: before a restart
// marker in each repeated scan, FF 02 (a marker without a length, which
// libjpeg drops when it looks for the restart) and FE 00, which such a
// reader takes for the length of a 65 KB segment.
inline QByteArray jpegWithHiddenScans(int scans)
{
    const auto hidden = [](QByteArray scan) {
        return scan.insert(scan.indexOf(QByteArray("\xFF\xD0", 2)), QByteArray("\xFF\x02\xFE\x00", 4));
    };
    return HostilePhotos::withScans(libjpegEncoded(pattern(64, 32), false, true), scans, hidden);
}

// A JPEG stored as `image`, tagged to turn. (Qt's writer turns the pixels instead.)
inline bool writeJpegTaggedToTurn(const QString &path, const QImage &image)
{
    if (!writeJpeg(path, image))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = taggedToTurn(file.readAll());
    return file.seek(0) && file.write(bytes) == bytes.size();
}

} // namespace TestPhotos
