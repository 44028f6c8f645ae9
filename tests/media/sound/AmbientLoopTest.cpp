#include "tests/support/RecordedSoundTest.h"

#include "media/sound/LoopingPcmDevice.h"
#include "media/sound/LumivaneAmbientPlayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

using namespace SoundFixtures;

namespace {

constexpr double loopVolume = 0.6;

class AmbientLoopTest : public RecordedSoundTest
{
protected:
    QByteArray toneBytes(const QString &name, double seconds)
    {
        QFile file(writeToneFile(name, seconds, 400));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    bool waitUntilAudible()
    {
        return QTest::qWaitFor([this] { return rms(m_recorder.record(50)) > 1000.0; }, 3000);
    }
};

class AmbientLoopFormatTest : public AmbientLoopTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(AmbientLoopFormatTest, LoopsAtSixTenthsWithoutGapsAtTheWraps)
{
    // A quarter-second loop wraps five times in the recording.
    const QByteArray data = toneBytes(QStringLiteral("ambient.") + QLatin1String(GetParam()), 0.25);
    LumivaneAmbientPlayer player;
    player.play(data);
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(waitUntilAudible());

    const QVector<qint16> heard = m_recorder.record(1300);
    EXPECT_LT(longestGapMs(heard, NullSinkRecorder::sampleRate), 20.0);
    const double expected = loopVolume * sineRms(toneAmplitude);
    EXPECT_NEAR(rms(heard), expected, 0.12 * expected);
    EXPECT_TRUE(player.isPlaying());
}

INSTANTIATE_TEST_SUITE_P(Formats, AmbientLoopFormatTest, ::testing::Values("wav", "m4a"));

TEST_F(AmbientLoopTest, KeepsPlayingWhileTheGuiThreadIsBusy)
{
    LumivaneAmbientPlayer player;
    player.play(toneBytes(QStringLiteral("ambient.wav"), 0.25));
    ASSERT_TRUE(waitUntilAudible());
    const qsizetype from = m_recorder.samples().size();
    // As long as a large panorama texture upload holds it.
    QThread::msleep(400);
    QTest::qWait(200);
    const QVector<qint16> heard = m_recorder.samples().mid(from);
    ASSERT_GT(heard.size(), NullSinkRecorder::sampleRate / 2);
    EXPECT_LT(longestGapMs(heard, NullSinkRecorder::sampleRate), 20.0);
}

TEST_F(AmbientLoopTest, MuteSilencesAtOnceAndIsKeptAcrossRestarts)
{
    const QByteArray data = toneBytes(QStringLiteral("ambient.wav"), 0.5);
    LumivaneAmbientPlayer player;
    player.setMuted(true);
    player.play(data);
    EXPECT_TRUE(player.isPlaying());
    QTest::qWait(500);
    EXPECT_LT(peak(m_recorder.record(400)), 50) << "muted before the start";

    player.setMuted(false);
    QTest::qWait(250);
    const double expected = loopVolume * sineRms(toneAmplitude);
    EXPECT_NEAR(rms(m_recorder.record(300)), expected, 0.12 * expected);

    player.setMuted(true);
    QTest::qWait(250);
    EXPECT_LT(peak(m_recorder.record(300)), 50) << "mute while looping";

    player.stop();
    EXPECT_FALSE(player.isPlaying());
    player.play(data);
    EXPECT_TRUE(player.isMuted());
    QTest::qWait(500);
    EXPECT_LT(peak(m_recorder.record(300)), 50) << "mute lost by the restart";
}

TEST_F(AmbientLoopTest, NoDataAndBytesThatAreNoAudioLeaveItStopped)
{
    LumivaneAmbientPlayer player;
    player.play(toneBytes(QStringLiteral("ambient.wav"), 0.5));
    ASSERT_TRUE(waitUntilAudible());
    player.play(std::nullopt);
    EXPECT_FALSE(player.isPlaying());
    QTest::qWait(300);
    EXPECT_LT(peak(m_recorder.record(200)), 50);

    player.play(QByteArray(5000, '\x42'));
    EXPECT_FALSE(player.isPlaying()) << "bytes of no known kind";

    // Looks like a WAV file, but its body is no sound.
    QByteArray fake("RIFF\x10\x00\x00\x00WAVEjunk", 16);
    fake.append(QByteArray(3000, '\x07'));
    player.play(fake);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.isPlaying(); }, 3000));
    QTest::qWait(200);
    EXPECT_LT(peak(m_recorder.record(200)), 50);
}

TEST_F(AmbientLoopTest, ReleasingThePlayerStopsTheSound)
{
    auto player = std::make_unique<LumivaneAmbientPlayer>();
    player->play(toneBytes(QStringLiteral("ambient.wav"), 0.5));
    ASSERT_TRUE(waitUntilAudible());
    player.reset();
    QTest::qWait(300);
    EXPECT_LT(peak(m_recorder.record(200)), 50);
}

} // namespace

TEST(LoopingPcmDevice, WrapsFromTheLastWholeFrameToTheFirst)
{
    // Five bytes at two bytes a frame: the odd byte is dropped.
    LoopingPcmDevice device(QByteArray("abcdX"), 2);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_EQ(device.read(7), QByteArray("abcdabc"));
    EXPECT_EQ(device.read(3), QByteArray("dab"));
    EXPECT_GT(device.bytesAvailable(), 1 << 20);

    LoopingPcmDevice empty(QByteArray(), 2);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_TRUE(empty.read(4).isEmpty());
}
