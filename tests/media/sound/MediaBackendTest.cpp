#include "media/sound/MediaBackend.h"

#include "tests/panels/support/LocalHttpServer.h"
#include "tests/support/MediaDisguises.h"

#include <QAudioDecoder>
#include <QAudioOutput>
#include <QBuffer>
#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace MediaDisguises;

namespace {

// The players are handed the files as they are: whatever a file names, no
// source may reach for it. Without the guard the player fetches a playlist's
// segment and the decoder follows a reference movie.
TEST(MediaBackend, PlayersReachNoAddressAFileNames)
{
    keepMediaOffTheNetwork();
    LocalHttpServer server({ServerAnswer{404}});
    QTemporaryDir folder;
    for (const Kind kind : {Kind::hls, Kind::referenceMovie}) {
        const QByteArray bytes = disguise(kind, server.url("/" + name(kind)));
        QFile file(folder.filePath(name(kind) + ".m4a"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        QMediaPlayer player;
        QAudioOutput output;
        player.setAudioOutput(&output);
        player.setSource(QUrl::fromLocalFile(file.fileName()));
        player.play();
        QBuffer source;
        source.setData(bytes);
        source.open(QIODevice::ReadOnly);
        QAudioDecoder decoder;
        QAudioFormat format;
        format.setSampleRate(44100);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        decoder.setAudioFormat(format);
        decoder.setSourceDevice(&source);
        decoder.start();
        // Each ends in an error once it finds nothing it may open, the player
        // now and then only after it has sat loading a reference movie for
        // seconds: what it has tried by then is what the server logged.
        static_cast<void>(QTest::qWaitFor([&] { return player.error() != QMediaPlayer::NoError
                                                       && decoder.error() != QAudioDecoder::NoError; }, 5000));
        EXPECT_NE(decoder.error(), QAudioDecoder::NoError) << name(kind).toStdString() << " decoded";
        QTest::qWait(200);
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
