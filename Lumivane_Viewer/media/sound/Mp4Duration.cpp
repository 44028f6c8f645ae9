#include "Mp4Duration.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

namespace {

constexpr quint32 fourCC(const char (&code)[5])
{
    return quint32(quint8(code[0])) << 24 | quint32(quint8(code[1])) << 16
        | quint32(quint8(code[2])) << 8 | quint32(quint8(code[3]));
}

// A damaged file could chain millions of tiny boxes; a real header needs few.
constexpr int maxBoxesPerLevel = 4096;

struct Box
{
    quint32 type = 0;
    qint64 payload = 0; // offset of the first byte after the header
    qint64 end = 0;     // offset one past the box
};

std::optional<Box> readBox(QFile &file, qint64 offset, qint64 limit)
{
    if (limit - offset < 8 || !file.seek(offset))
        return std::nullopt;
    const QByteArray header = file.read(8);
    if (header.size() != 8)
        return std::nullopt;
    quint64 size = qFromBigEndian<quint32>(header.constData());
    Box box{qFromBigEndian<quint32>(header.constData() + 4), offset + 8, 0};
    if (size == 1) {
        const QByteArray large = file.read(8);
        if (large.size() != 8)
            return std::nullopt;
        size = qFromBigEndian<quint64>(large.constData());
        box.payload += 8;
    } else if (size == 0) {
        size = quint64(limit - offset); // the box runs to the end of its parent
    }
    if (size < quint64(box.payload - offset) || size > quint64(limit - offset))
        return std::nullopt;
    box.end = offset + qint64(size);
    return box;
}

std::optional<Box> findChild(QFile &file, qint64 from, qint64 limit, quint32 type)
{
    qint64 offset = from;
    for (int i = 0; i < maxBoxesPerLevel; ++i) {
        const std::optional<Box> box = readBox(file, offset, limit);
        if (!box)
            return std::nullopt;
        if (box->type == type)
            return box;
        offset = box->end;
    }
    return std::nullopt;
}

// Movie and media headers share their layout: version, flags, two dates,
// time scale, duration; version 1 widens the dates and the duration.
std::optional<double> headerDuration(QFile &file, const Box &box)
{
    if (!file.seek(box.payload))
        return std::nullopt;
    const QByteArray bytes = file.read(qMin<qint64>(box.end - box.payload, 32));
    if (bytes.isEmpty())
        return std::nullopt;
    const bool wide = quint8(bytes[0]) == 1;
    const int needed = wide ? 32 : 20;
    if (bytes.size() < needed)
        return std::nullopt;
    const char *data = bytes.constData();
    const quint32 timeScale = qFromBigEndian<quint32>(data + (wide ? 20 : 12));
    const quint64 duration = wide ? qFromBigEndian<quint64>(data + 24)
                                  : qFromBigEndian<quint32>(data + 16);
    const quint64 unknown = wide ? ~quint64(0) : quint64(~quint32(0));
    if (timeScale == 0 || duration == 0 || duration == unknown)
        return std::nullopt;
    return double(duration) / double(timeScale);
}

std::optional<double> firstTrackDuration(QFile &file, const Box &movie)
{
    qint64 offset = movie.payload;
    for (int i = 0; i < maxBoxesPerLevel; ++i) {
        const std::optional<Box> track = findChild(file, offset, movie.end, fourCC("trak"));
        if (!track)
            return std::nullopt;
        if (const auto media = findChild(file, track->payload, track->end, fourCC("mdia"))) {
            if (const auto header = findChild(file, media->payload, media->end, fourCC("mdhd"))) {
                if (const auto seconds = headerDuration(file, *header))
                    return seconds;
            }
        }
        offset = track->end;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> mp4DurationSeconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    const std::optional<Box> first = readBox(file, 0, size);
    if (!first || first->type != fourCC("ftyp"))
        return std::nullopt;
    const std::optional<Box> movie = findChild(file, first->end, size, fourCC("moov"));
    if (!movie)
        return std::nullopt;
    if (const auto header = findChild(file, movie->payload, movie->end, fourCC("mvhd"))) {
        if (const auto seconds = headerDuration(file, *header))
            return seconds;
    }
    return firstTrackDuration(file, *movie);
}
