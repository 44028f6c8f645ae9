#pragma once

#include <QByteArrayView>

/// The scans of a JPEG held in memory, counted from its markers the way
/// libjpeg meets them (stray bytes and fill bytes skipped, marker segments
/// skipped by their length, entropy-coded data up to the next marker),
/// without decoding anything: what a decoder that cannot be told to stop
/// would walk. Reentrant.
namespace JpegScans {

/// The number of start-of-scan markers before the end of image, counted no
/// further than limit + 1.
int count(QByteArrayView bytes, int limit);

} // namespace JpegScans
