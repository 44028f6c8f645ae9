#include "JpegScans.h"

#include <cstring>

namespace {

constexpr uchar markerPrefix = 0xFF;
constexpr uchar startOfScan = 0xDA;
constexpr uchar endOfImage = 0xD9;

// Markers without a length: a stuffed zero in entropy-coded data, the
// restart markers within it, and TEM.
bool standsAlone(uchar marker)
{
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

} // namespace

namespace JpegScans {

int count(QByteArrayView bytes, int limit)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    int scans = 0;
    // After the start of image.
    qsizetype at = 2;
    while (at < size && scans <= limit) {
        const void *prefix = std::memchr(data + at, markerPrefix, std::size_t(size - at));
        if (!prefix)
            break;
        at = static_cast<const uchar *>(prefix) - data;
        while (at < size && data[at] == markerPrefix)
            ++at;
        if (at >= size)
            break;
        const uchar marker = data[at++];
        if (marker == endOfImage)
            break;
        if (standsAlone(marker))
            continue;
        if (at + 2 > size)
            break;
        if (marker == startOfScan)
            ++scans;
        at += (data[at] << 8) | data[at + 1];
    }
    return scans;
}

} // namespace JpegScans
