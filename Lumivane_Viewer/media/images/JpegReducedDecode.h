#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

/// Decodes a JPEG into 24-bit RGB rows (the form in which the image cache
/// keeps photos) made `reduction` times smaller on each side, a power of
/// two: by the DCT scaling of libjpeg-turbo up to 1/8, past that also by
/// averaging blocks of pixels as their rows arrive, so that no picture larger
/// than the result is ever held; CMYK colours are turned into RGB as Qt's
/// reader does. The picture comes as stored: orientation tags are not
/// applied. Null for what cannot be read, and beyond the decode budget.
/// Reentrant.
namespace JpegReducedDecode {

QImage decodeFile(const QString &path, int reduction);
QImage decodeData(const QByteArray &bytes, int reduction);

} // namespace JpegReducedDecode
