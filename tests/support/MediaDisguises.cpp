#include "MediaDisguises.h"

#include <QtEndian>

namespace MediaDisguises {

namespace {

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A QuickTime reference movie: its one entry sends the player to target.
QByteArray referenceMovie(const QByteArray &target)
{
    const QByteArray location = target + '\0';
    const QByteArray reference = bigEndian32(0) + "url " + bigEndian32(quint32(location.size())) + location;
    return mp4Box("ftyp", QByteArray("qt  \0\0\0\0qt  ", 12))
        + mp4Box("moov", mp4Box("rmra", mp4Box("rmda", mp4Box("rdrf", reference))));
}

} // namespace

const QList<Kind> &allKinds()
{
    static const QList<Kind> kinds = {Kind::m3u, Kind::pls, Kind::asx, Kind::hls, Kind::referenceMovie};
    return kinds;
}

QString name(Kind kind)
{
    static const char *const names[] = {"m3u", "pls", "asx", "hls", "referenceMovie"};
    return QString::fromLatin1(names[int(kind)]);
}

QByteArray disguise(Kind kind, const QUrl &target)
{
    const QByteArray address = target.toEncoded();
    switch (kind) {
    case Kind::m3u:
        return "#EXTM3U\n#EXTINF:10,Tune\n" + address + "\n";
    case Kind::pls:
        return "[playlist]\nFile1=" + address + "\nNumberOfEntries=1\nVersion=2\n";
    case Kind::asx:
        return "<asx version=\"3.0\"><entry><ref href=\"" + address + "\"/></entry></asx>\n";
    case Kind::hls:
        return "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXTINF:10.0,\n" + address
            + "\n#EXT-X-ENDLIST\n";
    case Kind::referenceMovie:
        return referenceMovie(address);
    }
    return {};
}

QByteArray id3Tag()
{
    // Version 4.0, no flags, 16 bytes of padding.
    return QByteArray("ID3\x04\0\0\0\0\0\x10", 10) + QByteArray(16, '\0');
}

QByteArray mp4Box(const char (&type)[5], const QByteArray &payload)
{
    return bigEndian32(quint32(8 + payload.size())) + QByteArray(type, 4) + payload;
}

} // namespace MediaDisguises
