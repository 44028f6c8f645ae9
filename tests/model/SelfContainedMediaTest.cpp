#include "model/SelfContainedMedia.h"

#include "tests/support/MediaDisguises.h"

#include <QBuffer>

#include <gtest/gtest.h>

using MediaDisguises::id3Tag;
using MediaDisguises::mp4Box;

namespace {

bool judge(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return isSelfContainedMedia(buffer);
}

QByteArray versionAndFlags(quint8 flags)
{
    return QByteArray(3, '\0') + char(flags);
}

QByteArray track(const char *handler, const QByteArray &dataReference)
{
    const QByteArray hdlr = mp4Box("hdlr", QByteArray(8, '\0') + handler + QByteArray(12, '\0'));
    const QByteArray dref = mp4Box("dref", versionAndFlags(0) + QByteArray("\0\0\0\1", 4) + dataReference);
    return mp4Box("trak", mp4Box("mdia", hdlr + mp4Box("minf", mp4Box("dinf", dref))));
}

QByteArray movie(const QByteArray &contents)
{
    return mp4Box("ftyp", QByteArray("M4A \0\0\0\0M4A ", 12)) + mp4Box("moov", contents)
        + mp4Box("mdat", QByteArray(64, 'x'));
}

struct Case
{
    const char *what;
    QByteArray bytes;
    bool selfContained;
};

TEST(SelfContainedMedia, TracksAndFramesOfItsOwnOnly)
{
    const QByteArray inFile = mp4Box("url ", versionAndFlags(1));
    const QByteArray elsewhere = mp4Box("url ", versionAndFlags(0) + "http://127.0.0.1/a.m4a" + '\0');
    const QByteArray alias = mp4Box("alis", versionAndFlags(0) + QByteArray(40, 'a'));
    // MPEG-1 layer III at 128 kbit/s and 44.1 kHz: 417 bytes a frame.
    const QByteArray mpegFrame = QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
    // AAC in ADTS, 100 bytes a frame.
    const QByteArray adtsFrame = QByteArray("\xff\xf1\x50\x80\x0c\x9f\xfc", 7) + QByteArray(93, '\0');
    const QList<Case> cases = {
        {"sound track", movie(track("soun", inFile)), true},
        {"picture track behind a tag", id3Tag() + movie(track("vide", inFile)), true},
        {"text track only", movie(track("text", inFile)), false},
        {"no track", movie(mp4Box("mvhd", QByteArray(100, '\0'))), false},
        {"data at an address", movie(track("soun", elsewhere)), false},
        {"a second track's data in another file", movie(track("soun", inFile) + track("vide", alias)), false},
        {"reference beside a track", movie(track("soun", inFile) + mp4Box("rmra", QByteArray(16, '\0'))), false},
        {"compressed header", movie(mp4Box("cmov", QByteArray(16, '\0')) + track("soun", inFile)), false},
        {"MPEG frames behind two tags", id3Tag() + id3Tag() + mpegFrame + mpegFrame, true},
        {"ADTS frames", adtsFrame + adtsFrame, true},
        {"one MPEG frame, then a playlist", mpegFrame + "#EXTM3U\nhttp://127.0.0.1/a.mp3\n", false},
        {"a frame's sync, then a playlist", mpegFrame.left(4) + "#EXTM3U\nhttp://127.0.0.1/a.mp3\n", false},
    };
    for (const Case &item : cases)
        EXPECT_EQ(judge(item.bytes), item.selfContained) << item.what;
}

} // namespace
