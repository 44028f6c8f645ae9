#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <functional>
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
        qToBigEndian(quint16(claimed.height()), jpeg.data() + at + 5);
        qToBigEndian(quint16(claimed.width()), jpeg.data() + at + 7);
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

// The progressive JPEG made to walk `scans` scans: its smallest scan, passed
// through `changed`, repeated before the end of image. Each repetition is a
// bogus progression, which decoders warn of and decode.
inline QByteArray withScans(const QByteArray &bytes, int scans,
                            const std::function<QByteArray(QByteArray)> &changed = {})
{
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
    const QByteArray scan = bytes.mid(smallest.first, smallest.second);
    return bytes.left(at) + (changed ? changed(scan) : scan).repeated(scans - int(found.size())) + bytes.mid(at);
}

// A progressive JPEG of `size` that makes a decoder walk `scans` scans.
inline QByteArray jpegWithScans(int scans, QSize size = QSize(256, 128))
{
    return withScans(encodedJpeg(size, QColor(200, 90, 40), true), scans);
}

// The CRC-32 of PNG chunks and gzip members.
inline quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A small flat picture as Qt writes it in `format`; empty when Qt cannot.
inline QByteArray written(const char *format, QImage::Format pixels, int quality = -1)
{
    QImage image(8, 8, pixels);
    image.fill(QColor(90, 140, 200));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// A PNG claiming `claimed` pixels, written from `pixels`: Format_RGBA64
// makes a 16-bit one, which Qt's reader decodes whole at 8 bytes a pixel, as
// it does an interlaced one.
inline QByteArray pngClaiming(QSize claimed, QImage::Format pixels, bool interlaced = false)
{
    QByteArray bytes = written("png", pixels);
    qToBigEndian(quint32(claimed.width()), bytes.data() + 16);
    qToBigEndian(quint32(claimed.height()), bytes.data() + 20);
    bytes[28] = char(interlaced ? 1 : 0);
    qToBigEndian(crc32(QByteArrayView(bytes).sliced(12, 17)), bytes.data() + 29);
    return bytes;
}

// A 35-byte GIF of one pixel whose logical screen claims `claimed` pixels,
// which Qt's reader makes its picture of.
inline QByteArray gifClaiming(QSize claimed)
{
    QByteArray bytes = QByteArray::fromHex("474946383961" "01000100" "800000" "ffffff000000"
                                           "2c000000000100010000" "02024401" "00" "3b");
    qToLittleEndian(quint16(claimed.width()), bytes.data() + 6);
    qToLittleEndian(quint16(claimed.height()), bytes.data() + 8);
    return bytes;
}

// A BMP of 256 colours, run-length encoded, whose one run ends the bitmap at
// once: Qt's reader clears the whole picture it claims before it reads.
inline QByteArray bmpClaiming(QSize claimed)
{
    constexpr int headers = 14 + 40;
    constexpr int palette = 256 * 4;
    const QByteArray runs = QByteArray::fromHex("0001"); // end of bitmap
    QByteArray bytes(headers + palette, '\0');
    char *at = bytes.data();
    at[0] = 'B';
    at[1] = 'M';
    qToLittleEndian(quint32(headers + palette + runs.size()), at + 2);
    qToLittleEndian(quint32(headers + palette), at + 10);
    qToLittleEndian(quint32(40), at + 14);
    qToLittleEndian(qint32(claimed.width()), at + 18);
    qToLittleEndian(qint32(claimed.height()), at + 22);
    qToLittleEndian(quint16(1), at + 26); // planes
    qToLittleEndian(quint16(8), at + 28); // bits a pixel
    qToLittleEndian(quint32(1), at + 30); // RLE8
    qToLittleEndian(quint32(runs.size()), at + 34);
    qToLittleEndian(quint32(256), at + 46); // colours used
    return bytes + runs;
}

// A lossless WebP (its VP8L header takes each side less one in 14 bits: at
// most 16384).
inline QByteArray webpClaiming(QSize claimed)
{
    QByteArray bytes = written("webp", QImage::Format_RGB32, 100);
    const qsizetype at = bytes.indexOf("VP8L") + 9; // past the chunk's size and signature
    const quint32 header = qFromLittleEndian<quint32>(bytes.constData() + at);
    qToLittleEndian((header & 0xF0000000u) | quint32(claimed.width() - 1) | quint32(claimed.height() - 1) << 14,
                    bytes.data() + at);
    return bytes;
}

// TIFF, as Qt writes it here, little-endian: the width and length tags of
// its first directory.
inline QByteArray tiffClaiming(QSize claimed)
{
    QByteArray bytes = written("tiff", QImage::Format_RGB32);
    const auto number = [&bytes](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const quint32 directory = qFromLittleEndian<quint32>(bytes.constData() + 4);
    for (int i = 0; i < number(directory); ++i) {
        const qsizetype entry = directory + 2 + 12 * i;
        // ImageWidth and ImageLength, SHORT or LONG: either way low bytes first.
        if (number(entry) == 256 || number(entry) == 257)
            qToLittleEndian(quint32(number(entry) == 256 ? claimed.width() : claimed.height()), bytes.data() + entry + 8);
    }
    return bytes;
}

// TGA: Qt's reader takes only TrueVision 2.0 files, with their footer, and
// no side over 8192.
inline QByteArray tgaClaiming(QSize claimed)
{
    QByteArray bytes(18, '\0');
    bytes[2] = 2; // uncompressed true colour
    qToLittleEndian(quint16(claimed.width()), bytes.data() + 12);
    qToLittleEndian(quint16(claimed.height()), bytes.data() + 14);
    bytes[16] = 32;
    bytes[17] = 0x28;
    return bytes + QByteArray(16, '\x7f') + QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18);
}

// The multi-byte integers of WBMP: seven bits a byte, most significant first.
inline QByteArray wbmpNumber(quint32 value)
{
    QByteArray number(1, char(value & 0x7F));
    while (value >>= 7)
        number.prepend(char(0x80 | (value & 0x7F)));
    return number;
}

inline QByteArray svgClaiming(QSize claimed)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + QByteArray::number(claimed.width())
        + "\" height=\"" + QByteArray::number(claimed.height())
        + "\"><rect width=\"100%\" height=\"100%\" fill=\"#5a8cc8\"/></svg>";
}

// The bytes as a gzip member of one stored deflate block (at most 64 KiB).
inline QByteArray gzipped(const QByteArray &data)
{
    QByteArray lengths(4, '\0');
    qToLittleEndian(quint16(data.size()), lengths.data());
    qToLittleEndian(quint16(~data.size()), lengths.data() + 2);
    QByteArray trailer(8, '\0');
    qToLittleEndian(crc32(data), trailer.data());
    qToLittleEndian(quint32(data.size()), trailer.data() + 4);
    return QByteArray::fromHex("1f8b080000000000000301") + lengths + data + trailer;
}

// A picture of a few bytes in `format` (as QImageReader names it) whose
// header claims `claimed` pixels: for PNG a 16-bit one. Empty for a format
// whose header cannot claim so much (ICO and CUR give each side in a byte,
// ICNS by the type of each entry), that Qt cannot write (MNG) or that is not
// known here.
inline QByteArray claiming(const QByteArray &format, QSize claimed)
{
    const QByteArray side = QByteArray::number(claimed.width()) + ' ' + QByteArray::number(claimed.height());
    const QByteArray pixels(16, '\x7f');
    if (format == "jpeg" || format == "jpg")
        return jpegClaiming(claimed, false);
    if (format == "png")
        return pngClaiming(claimed, QImage::Format_RGBA64);
    if (format == "gif")
        return gifClaiming(claimed);
    if (format == "bmp")
        return bmpClaiming(claimed);
    if (format == "webp")
        return webpClaiming(claimed);
    if (format == "tif" || format == "tiff")
        return tiffClaiming(claimed);
    if (format == "tga")
        return tgaClaiming(claimed);
    if (format == "svg")
        return svgClaiming(claimed);
    if (format == "svgz")
        return gzipped(svgClaiming(claimed));
    if (format == "pbm" || format == "pgm" || format == "ppm")
        return (format == "pbm" ? "P4\n" : format == "pgm" ? "P5\n" : "P6\n") + side + (format == "pbm" ? "\n" : "\n255\n")
            + pixels;
    if (format == "wbmp")
        return QByteArray(2, '\0') + wbmpNumber(quint32(claimed.width())) + wbmpNumber(quint32(claimed.height())) + pixels;
    if (format == "xbm")
        return "#define x_width " + QByteArray::number(claimed.width()) + "\n#define x_height "
            + QByteArray::number(claimed.height()) + "\nstatic char x_bits[] = {0x00, 0x00};\n";
    if (format == "xpm")
        return "/* XPM */\nstatic char *x[] = {\n\"" + side + " 1 1\",\n\"a c #5a8cc8\",\n\"aaaaaaaa\"};\n";
    return {};
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace HostilePhotos
