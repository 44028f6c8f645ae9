#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QString>

#include <algorithm>
#include <utility>
#include <vector>

// Photo files whose header claims far more pixels than the file holds, as a
// hostile package may carry them, written by code.
namespace HostilePhotos {

// A flat picture of `size` as Qt writes it in JPEG.
inline QByteArray encodedJpeg(QSize size, QColor colour, bool progressive)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// Where the JPEG's frame header (baseline C0 or progressive C2) starts, found
// marker after marker from the start of image, each skipped by its length;
// -1 when there is none with room for its first component.
inline qsizetype frameHeader(const QByteArray &jpeg)
{
    for (qsizetype at = 2; at + 12 < jpeg.size(); at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]))) {
        if (uchar(jpeg[at + 1]) == 0xC0 || uchar(jpeg[at + 1]) == 0xC2)
            return at;
    }
    return -1;
}

// The JPEG with its frame header claiming `claimed` pixels: libjpeg walks
// them all, its data running short for most of them.
inline QByteArray withClaimedSize(QByteArray jpeg, QSize claimed)
{
    // Lines, then columns.
    if (const qsizetype at = frameHeader(jpeg); at >= 0) {
        jpeg[at + 5] = char(claimed.height() >> 8);
        jpeg[at + 6] = char(claimed.height() & 0xFF);
        jpeg[at + 7] = char(claimed.width() >> 8);
        jpeg[at + 8] = char(claimed.width() & 0xFF);
    }
    return jpeg;
}

// A JPEG of a few bytes whose frame header claims `claimed` pixels. A
// progressive one makes libjpeg keep coefficients for every claimed pixel
// before it gives a first row, whatever the scale it decodes at.
inline QByteArray jpegClaiming(QSize claimed, bool progressive)
{
    return withClaimedSize(encodedJpeg(QSize(64, 32), QColor(90, 140, 200), progressive), claimed);
}

// The JPEG with its colour sampled at full resolution (4:4:4): a
// progressive decode keeps twice the coefficients of the usual 4:2:0.
inline QByteArray withFullChroma(QByteArray jpeg)
{
    if (const qsizetype at = frameHeader(jpeg); at >= 0)
        jpeg[at + 11] = char(0x11); // the first component's sampling factors
    return jpeg;
}

// The JPEG with `count` stray bytes after its start of image, which libjpeg
// and Qt's reader skip with a warning.
inline QByteArray withStrayBytes(QByteArray jpeg, int count)
{
    return jpeg.insert(2, QByteArray(count, '\0'));
}

// A progressive JPEG of `size` that makes a decoder walk `scans` scans: one
// of its own scans, of a few bytes, repeated before the end of image. Each
// repetition is a bogus progression, which decoders warn of and decode.
inline QByteArray jpegWithScans(int scans, QSize size = QSize(256, 128))
{
    const QByteArray bytes = encodedJpeg(size, QColor(200, 90, 40), true);
    // Each scan: its header, then entropy-coded data up to the next marker.
    std::vector<std::pair<qsizetype, qsizetype>> found;
    qsizetype at = 2;
    while (at + 4 <= bytes.size() && uchar(bytes[at + 1]) != 0xD9) {
        const qsizetype next = at + 2 + (uchar(bytes[at + 2]) << 8 | uchar(bytes[at + 3]));
        if (uchar(bytes[at + 1]) != 0xDA) {
            at = next;
            continue;
        }
        qsizetype end = next;
        while (end + 1 < bytes.size()
               && !(uchar(bytes[end]) == 0xFF && bytes[end + 1] != 0 && (uchar(bytes[end + 1]) & 0xF8) != 0xD0))
            ++end;
        found.emplace_back(at, end - at);
        at = end;
    }
    if (found.empty() || int(found.size()) >= scans)
        return bytes;
    const auto smallest = *std::min_element(found.cbegin(), found.cend(),
                                            [](const auto &a, const auto &b) { return a.second < b.second; });
    return bytes.left(at) + bytes.mid(smallest.first, smallest.second).repeated(scans - int(found.size()))
        + bytes.mid(at);
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace HostilePhotos
