#pragma once

#include "PngBytes.h"

#include <QColor>
#include <QSize>

/// The bytes of a PNG file of one flat colour, as a package carries a floor
/// plan or a logo.
inline QByteArray flatPngBytes(QSize size, const QColor &color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return pngBytes(image);
}
