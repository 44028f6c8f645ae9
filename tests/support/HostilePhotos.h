#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QString>

// Photo files whose header claims far more pixels than the file holds, as a
// hostile package may carry them, written by code.
namespace HostilePhotos {

// A JPEG of a few bytes whose frame header claims `claimed` pixels. A
// progressive one makes libjpeg keep coefficients for every claimed pixel
// before it gives a first row, whatever the scale it decodes at.
inline QByteArray jpegClaiming(QSize claimed, bool progressive)
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    QByteArray bytes = buffer.data();
    // Marker after marker from the start of image, each skipped by its length,
    // up to the frame header (baseline C0 or progressive C2): lines, then columns.
    for (qsizetype at = 2; at + 9 < bytes.size(); at += 2 + (uchar(bytes[at + 2]) << 8 | uchar(bytes[at + 3]))) {
        if (uchar(bytes[at + 1]) == 0xC0 || uchar(bytes[at + 1]) == 0xC2) {
            bytes[at + 5] = char(claimed.height() >> 8);
            bytes[at + 6] = char(claimed.height() & 0xFF);
            bytes[at + 7] = char(claimed.width() >> 8);
            bytes[at + 8] = char(claimed.width() & 0xFF);
            break;
        }
    }
    return bytes;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace HostilePhotos
