#pragma once

#include <QImage>
#include <QSize>
#include <QString>

/// Writes a JPEG of any size the format allows (65535 pixels a side) as an
/// enlargement of a smaller picture, one row at a time, so that a photo of
/// huge pixel dimensions costs no more memory to write than the picture it
/// enlarges. Neighbouring pixels repeat, so the file compresses small.
namespace EnlargedJpegWriter {

/// False when the file cannot be written or the size is out of range.
bool write(const QImage &picture, QSize size, int quality, const QString &path);

} // namespace EnlargedJpegWriter
