#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

/// A picture as the bytes of a PNG file, as a tour carries its floor plans
/// and logos.
inline QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
