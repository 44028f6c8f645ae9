#pragma once

#include <QtGlobal>

#include <optional>

class QIODevice;

/// One box of an MP4 or QuickTime file: its four-letter type and where its
/// contents lie. Knows no box's meaning.
struct Mp4Box
{
    quint32 type = 0;
    qint64 payload = 0; // offset of the first byte after the header
    qint64 end = 0;     // offset one past the box
};

/// A damaged file could chain millions of tiny boxes; a real one needs few.
constexpr int mp4MaxBoxesPerLevel = 4096;

constexpr quint32 fourCC(const char (&code)[5])
{
    return quint32(quint8(code[0])) << 24 | quint32(quint8(code[1])) << 16
        | quint32(quint8(code[2])) << 8 | quint32(quint8(code[3]));
}

/// The box whose header starts at offset, when it fits before limit (the end
/// of its parent). A size of 0 runs to the limit.
std::optional<Mp4Box> readMp4Box(QIODevice &device, qint64 offset, qint64 limit);

/// The first box of the type among the boxes from `from` to limit.
std::optional<Mp4Box> findMp4Child(QIODevice &device, qint64 from, qint64 limit, quint32 type);
