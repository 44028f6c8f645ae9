#include "Mp4Box.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

std::optional<Mp4Box> readMp4Box(QIODevice &device, qint64 offset, qint64 limit)
{
    if (limit - offset < 8 || !device.seek(offset))
        return std::nullopt;
    const QByteArray header = device.read(8);
    if (header.size() != 8)
        return std::nullopt;
    quint64 size = qFromBigEndian<quint32>(header.constData());
    Mp4Box box{qFromBigEndian<quint32>(header.constData() + 4), offset + 8, 0};
    if (size == 1) {
        const QByteArray large = device.read(8);
        if (large.size() != 8)
            return std::nullopt;
        size = qFromBigEndian<quint64>(large.constData());
        box.payload += 8;
    } else if (size == 0) {
        size = quint64(limit - offset);
    }
    if (size < quint64(box.payload - offset) || size > quint64(limit - offset))
        return std::nullopt;
    box.end = offset + qint64(size);
    return box;
}

std::optional<Mp4Box> findMp4Child(QIODevice &device, qint64 from, qint64 limit, quint32 type)
{
    qint64 offset = from;
    for (int i = 0; i < mp4MaxBoxesPerLevel; ++i) {
        const std::optional<Mp4Box> box = readMp4Box(device, offset, limit);
        if (!box)
            return std::nullopt;
        if (box->type == type)
            return box;
        offset = box->end;
    }
    return std::nullopt;
}
