#include "SelfContainedMedia.h"

#include "Mp4Box.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>

namespace {

// A tag may follow a tag; a longer chain is no sound.
constexpr int maxId3Tags = 4;
// The longest frame header read: ADTS's.
constexpr qint64 frameHeaderSize = 7;

QByteArray readAt(QIODevice &device, qint64 offset, qint64 size)
{
    return device.seek(offset) ? device.read(size) : QByteArray();
}

int byteAt(const QByteArray &bytes, int index)
{
    return quint8(bytes[index]);
}

qint64 afterId3Tags(QIODevice &device)
{
    qint64 at = 0;
    for (int i = 0; i < maxId3Tags; ++i) {
        const QByteArray header = readAt(device, at, 10);
        if (header.size() < 10 || !header.startsWith("ID3"))
            return at;
        // The size is stored in four bytes of seven bits each; a byte with
        // its eighth bit set leaves the bytes unknown, hence refused.
        qint64 size = 0;
        for (int index = 6; index < 10; ++index) {
            if (byteAt(header, index) & 0x80)
                return at;
            size = (size << 7) | byteAt(header, index);
        }
        const bool footer = byteAt(header, 5) & 0x10;
        at += 10 + size + (footer ? 10 : 0);
    }
    return at;
}

bool startsAsSoundContainer(const QByteArray &head)
{
    const auto at = [&head](qsizetype offset, const char *tag) { return head.mid(offset).startsWith(tag); };
    return (at(0, "RIFF") && at(8, "WAVE")) || (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC")))
        || at(0, "caff") || at(0, "fLaC") || at(0, "OggS");
}

bool isAdts(const QByteArray &header)
{
    // Twelve bits of sync and the layer bits at zero.
    return (byteAt(header, 1) & 0xF6) == 0xF0;
}

qint64 adtsFrameLength(const QByteArray &header)
{
    if (((byteAt(header, 2) >> 2) & 0x0F) > 12) // sampling rate beyond the table
        return 0;
    const qint64 length = (qint64(byteAt(header, 3) & 0x03) << 11) | (byteAt(header, 4) << 3) | (byteAt(header, 5) >> 5);
    return length > frameHeaderSize ? length : 0;
}

qint64 mpegAudioFrameLength(const QByteArray &header)
{
    const int version = (byteAt(header, 1) >> 3) & 0x3; // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (byteAt(header, 1) >> 1) & 0x3;   // 3: I, 2: II, 1: III
    const int bitrateIndex = byteAt(header, 2) >> 4;
    const int rateIndex = (byteAt(header, 2) >> 2) & 0x3;
    // Free-format frames give no length to check the next frame by.
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    static constexpr int kilobits[5][14] = {
        {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG-1 layer I
        {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG-1 layer II
        {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG-1 layer III
        {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG-2 and 2.5 layer I
        {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG-2 and 2.5 layers II, III
    };
    static constexpr int mpeg1Rates[3] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const qint64 bitrate = 1000LL * kilobits[mpeg1 ? 3 - layer : (layer == 3 ? 3 : 4)][bitrateIndex - 1];
    const qint64 sampleRate = mpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int padding = (byteAt(header, 2) >> 1) & 0x1;
    if (layer == 3)
        return (12 * bitrate / sampleRate + padding) * 4;
    const int bytesPerSlot = layer == 1 && !mpeg1 ? 72 : 144;
    return bytesPerSlot * bitrate / sampleRate + padding;
}

// The length of the MPEG audio or ADTS frame the header starts, 0 when it
// is none.
qint64 frameLength(const QByteArray &header)
{
    if (header.size() < frameHeaderSize || byteAt(header, 0) != 0xFF || (byteAt(header, 1) & 0xE0) != 0xE0)
        return 0;
    return isAdts(header) ? adtsFrameLength(header) : mpegAudioFrameLength(header);
}

bool sameStream(const QByteArray &first, const QByteArray &second)
{
    // Version, layer and sampling rate stay; the bitrate may change.
    const int rateBits = isAdts(first) ? 0x3C : 0x0C;
    return byteAt(first, 1) == byteAt(second, 1) && (byteAt(first, 2) & rateBits) == (byteAt(second, 2) & rateBits);
}

// An eleven-bit sync alone is found in much text and in any binary; a
// second frame header where the first frame's length ends is not.
bool startsWithFramePair(QIODevice &device, qint64 start)
{
    const QByteArray first = readAt(device, start, frameHeaderSize);
    const qint64 length = frameLength(first);
    if (length == 0)
        return false;
    const QByteArray second = readAt(device, start + length, frameHeaderSize);
    return frameLength(second) > 0 && sameStream(first, second);
}

bool isPlayedTrack(QIODevice &device, const Mp4Box &media)
{
    const std::optional<Mp4Box> handler = findMp4Child(device, media.payload, media.end, fourCC("hdlr"));
    // Version and flags, a predefined field, then the handler type.
    const QByteArray type = handler ? readAt(device, handler->payload + 8, 4) : QByteArray();
    return type == "soun" || type == "vide";
}

// Every data reference entry (url, urn, alis, rsrc) must carry the flag
// that says "in this file"; without a reference box the data is there too.
bool isTrackDataInTheFile(QIODevice &device, const Mp4Box &media)
{
    std::optional<Mp4Box> box = findMp4Child(device, media.payload, media.end, fourCC("minf"));
    for (const quint32 inner : {fourCC("dinf"), fourCC("dref")}) {
        if (!box)
            return true;
        box = findMp4Child(device, box->payload, box->end, inner);
    }
    if (!box)
        return true;
    qint64 offset = box->payload + 8; // version, flags and the entry count
    for (int i = 0; i < mp4MaxBoxesPerLevel && offset < box->end; ++i) {
        const std::optional<Mp4Box> entry = readMp4Box(device, offset, box->end);
        const QByteArray flags = entry ? readAt(device, entry->payload, 4) : QByteArray();
        if (flags.size() < 4 || !(byteAt(flags, 3) & 0x01))
            return false;
        offset = entry->end;
    }
    return offset >= box->end;
}

// A reference movie (rmra) names other movies to play instead; a compressed
// header (cmov) could hide one.
bool isSelfContainedMovie(QIODevice &device, const Mp4Box &movie)
{
    bool played = false;
    qint64 offset = movie.payload;
    for (int i = 0; i < mp4MaxBoxesPerLevel && offset < movie.end; ++i) {
        const std::optional<Mp4Box> box = readMp4Box(device, offset, movie.end);
        if (!box || box->type == fourCC("rmra") || box->type == fourCC("cmov"))
            return false;
        if (box->type == fourCC("trak")) {
            const std::optional<Mp4Box> media = findMp4Child(device, box->payload, box->end, fourCC("mdia"));
            if (media && !isTrackDataInTheFile(device, *media))
                return false;
            played = played || (media && isPlayedTrack(device, *media));
        }
        offset = box->end;
    }
    return played && offset >= movie.end;
}

bool isSelfContainedMp4(QIODevice &device, qint64 start)
{
    const qint64 end = device.size();
    const std::optional<Mp4Box> first = readMp4Box(device, start, end);
    if (!first || first->type != fourCC("ftyp"))
        return false;
    bool sawMovie = false;
    qint64 offset = first->end;
    for (int i = 0; i < mp4MaxBoxesPerLevel; ++i) {
        const std::optional<Mp4Box> box = readMp4Box(device, offset, end);
        // Trailing bytes that are no box (a tag, a cut file) are never read as one.
        if (!box)
            return sawMovie;
        if (box->type == fourCC("moov")) {
            if (!isSelfContainedMovie(device, *box))
                return false;
            sawMovie = true;
        }
        offset = box->end;
    }
    return false;
}

} // namespace

bool isSelfContainedMedia(QIODevice &device)
{
    if (!device.isOpen() || device.isSequential())
        return false;
    const qint64 start = afterId3Tags(device);
    return startsAsSoundContainer(readAt(device, start, 12)) || startsWithFramePair(device, start)
        || isSelfContainedMp4(device, start);
}

bool isSelfContainedMediaFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isSelfContainedMedia(file);
}
