#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QString>

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

// The JPEG with an Exif orientation tag (6) asking readers to turn it a
// quarter clockwise.
inline QByteArray taggedToTurn(QByteArray jpeg)
{
    return jpeg.insert(2, QByteArray::fromHex("FFE10022" "457869660000" "4D4D002A00000008" "0001"
                                              "011200030000000100060000" "00000000"));
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
