#include "Mp4Duration.h"

#include "model/Mp4Box.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

namespace {

// Movie and media headers share their layout: version, flags, two dates,
// time scale, duration; version 1 widens the dates and the duration.
std::optional<double> headerDuration(QFile &file, const Mp4Box &box)
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

std::optional<double> firstTrackDuration(QFile &file, const Mp4Box &movie)
{
    qint64 offset = movie.payload;
    for (int i = 0; i < mp4MaxBoxesPerLevel; ++i) {
        const std::optional<Mp4Box> track = findMp4Child(file, offset, movie.end, fourCC("trak"));
        if (!track)
            return std::nullopt;
        if (const auto media = findMp4Child(file, track->payload, track->end, fourCC("mdia"))) {
            if (const auto header = findMp4Child(file, media->payload, media->end, fourCC("mdhd"))) {
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
    const std::optional<Mp4Box> first = readMp4Box(file, 0, size);
    if (!first || first->type != fourCC("ftyp"))
        return std::nullopt;
    const std::optional<Mp4Box> movie = findMp4Child(file, first->end, size, fourCC("moov"));
    if (!movie)
        return std::nullopt;
    if (const auto header = findMp4Child(file, movie->payload, movie->end, fourCC("mvhd"))) {
        if (const auto seconds = headerDuration(file, *header))
            return seconds;
    }
    return firstTrackDuration(file, *movie);
}
