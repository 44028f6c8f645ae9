#include "tests/support/RecordedSoundTest.h"

#include "media/sound/LumivaneAudioService.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

using namespace SoundFixtures;

namespace {

class NarrationTest : public RecordedSoundTest
{
protected:
    QUrl tone(const QString &name, double seconds) { return QUrl::fromLocalFile(writeToneFile(name, seconds)); }

    QUrl garbage(const QString &name)
    {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4000, 'x'));
        return QUrl::fromLocalFile(file.fileName());
    }

    LumivaneAudioService m_service;
};

TEST_F(NarrationTest, PlaysOnceAudiblyWithLengthKnownAtOnceAndKeepsItAfterTheEnd)
{
    const QUrl url = tone(QStringLiteral("narration.m4a"), 0.8);
    QSignalSpy times(&m_service, &LumivaneAudioService::playbackTimeChanged);

    ASSERT_TRUE(m_service.play(url));
    EXPECT_TRUE(m_service.isPlaying());
    EXPECT_NEAR(m_service.playbackDuration(), 0.8, 0.05);
    EXPECT_EQ(m_service.playbackTime(), 0.0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_service.isPlaying(); }, 4000));
    const QVector<qint16> heard = audiblePart(m_recorder.samples());
    EXPECT_NEAR(heard.size() / double(NullSinkRecorder::sampleRate), 0.8, 0.1);
    EXPECT_NEAR(rms(heard), sineRms(toneAmplitude), 0.15 * sineRms(toneAmplitude)) << "full volume";

    // Sampled in steps of about a tenth of a second while playing.
    QList<double> positions;
    for (const QList<QVariant> &signal : times)
        positions << signal.at(0).toDouble();
    EXPECT_GE(positions.size(), 6);
    EXPECT_GE(*std::max_element(positions.begin(), positions.end()), 0.5);
    EXPECT_EQ(m_service.playbackTime(), 0.0);
    EXPECT_NEAR(m_service.playbackDuration(), 0.8, 0.05) << "kept after a natural end";

    // The sampler stopped with the end.
    const qsizetype samplesAtEnd = times.size();
    QTest::qWait(300);
    EXPECT_EQ(times.size(), samplesAtEnd);

    m_service.stopPlayback();
    EXPECT_EQ(m_service.playbackDuration(), 0.0);
}

TEST_F(NarrationTest, MissingFileStopsTheCurrentNarrationAndResetsEverything)
{
    ASSERT_TRUE(m_service.play(tone(QStringLiteral("long.wav"), 3.0)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rms(m_recorder.record(100)) > 1000; }, 2000));

    EXPECT_FALSE(m_service.play(QUrl::fromLocalFile(m_folder.filePath(QStringLiteral("absent.m4a")))));
    EXPECT_FALSE(m_service.isPlaying());
    EXPECT_EQ(m_service.playbackTime(), 0.0);
    EXPECT_EQ(m_service.playbackDuration(), 0.0);
    QTest::qWait(300);
    EXPECT_LT(rms(m_recorder.record(300)), 50.0) << "the earlier narration went on";

    EXPECT_FALSE(m_service.play(QUrl::fromLocalFile(m_folder.path()))) << "a folder is no audio file";
}

TEST_F(NarrationTest, SameFileRestartsWithANewPlayerAndPublishesEveryStep)
{
    const QUrl url = tone(QStringLiteral("again.wav"), 2.0);
    QSignalSpy playing(&m_service, &LumivaneAudioService::isPlayingChanged);
    ASSERT_TRUE(m_service.play(url));
    ASSERT_TRUE(m_service.play(url));
    QList<bool> steps;
    for (const QList<QVariant> &signal : playing)
        steps << signal.at(0).toBool();
    EXPECT_EQ(steps, (QList<bool>{false, true, false, true}));

    m_service.stopPlayback();
    m_service.stopPlayback();
    EXPECT_EQ(playing.size(), 6) << "a stop publishes even when nothing plays";
}

TEST_F(NarrationTest, LengthOfFilesWithoutHeaderFollowsFromTheDecoder)
{
    QSignalSpy durations(&m_service, &LumivaneAudioService::playbackDurationChanged);
    ASSERT_TRUE(m_service.play(tone(QStringLiteral("plain.wav"), 1.5)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.playbackDuration() > 0.0; }, 2000));
    EXPECT_NEAR(m_service.playbackDuration(), 1.5, 0.05);
    EXPECT_TRUE(m_service.isPlaying());
}

TEST_F(NarrationTest, FilesOfNoAudioKindAreRefusedWithoutEverSayingPlaying)
{
    QSignalSpy playing(&m_service, &LumivaneAudioService::isPlayingChanged);
    for (const QString &name : {QStringLiteral("broken.m4a"), QStringLiteral("broken.mp3"), QStringLiteral("broken.wav")}) {
        EXPECT_FALSE(m_service.play(garbage(name))) << name.toStdString();
        EXPECT_FALSE(m_service.isPlaying());
        EXPECT_EQ(m_service.playbackDuration(), 0.0);
    }
    for (const QList<QVariant> &signal : playing)
        EXPECT_FALSE(signal.at(0).toBool()) << "announced as playing";
}

TEST_F(NarrationTest, FileFoundUndecodableLaterEndsNotPlayingAndLateErrorsSpareTheNextFile)
{
    // Looks like a WAV file, but its body is no sound.
    QFile broken(m_folder.filePath(QStringLiteral("broken.wav")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("RIFF\x10\x00\x00\x00WAVEjunk", 16) + QByteArray(4000, '\x07'));
    broken.close();
    const QUrl next = tone(QStringLiteral("next.wav"), 1.0);
    ASSERT_TRUE(m_service.play(QUrl::fromLocalFile(broken.fileName())));

    // The broken file reports several errors; the first one lets the next
    // narration start, the rest must leave it alone.
    bool startedNext = false;
    QObject::connect(&m_service, &LumivaneAudioService::isPlayingChanged, &m_service, [&](bool isPlaying) {
        if (!isPlaying && !startedNext) {
            startedNext = true;
            EXPECT_EQ(m_service.playbackDuration(), 0.0);
            EXPECT_TRUE(m_service.play(next));
        }
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return startedNext; }, 3000));
    QTest::qWait(400);
    EXPECT_TRUE(m_service.isPlaying()) << "a report of the replaced player stopped the new one";
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_service.playbackTime() > 0.1; }, 1000))
        << "the stop of the broken file stopped the new sampler";
    EXPECT_GT(rms(m_recorder.record(200)), 1000.0);
}

TEST_F(NarrationTest, NarrationStartedFromTheEndOfTheLastOnePlaysOn)
{
    const QUrl first = tone(QStringLiteral("first.wav"), 0.3);
    const QUrl second = tone(QStringLiteral("second.wav"), 1.2);
    int ends = 0;
    QObject::connect(&m_service, &LumivaneAudioService::isPlayingChanged, &m_service, [&](bool isPlaying) {
        if (!isPlaying && ++ends == 2)
            m_service.play(second); // the first end report is play()'s own stop
    });
    ASSERT_TRUE(m_service.play(first));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends >= 3 && m_service.isPlaying(); }, 3000));
    QTest::qWait(300);
    EXPECT_TRUE(m_service.isPlaying());
    EXPECT_NEAR(m_service.playbackDuration(), 1.2, 0.05);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_service.playbackTime() > 0.1; }, 1000))
        << "the end of the first file stopped the new sampler";
}

} // namespace

TEST(NarrationFolder, IsTheProjectsAudioFolderUnderDocumentsWithAnUpperCaseID)
{
    const QUuid id = QUuid::fromString(QStringLiteral("3f2504e0-4f89-11d3-9a0c-0305e82c3301"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString expected = QDir(documents).filePath(
        QStringLiteral("Lumivane/Projets/3F2504E0-4F89-11D3-9A0C-0305E82C3301/audio"));
    QDir(expected).removeRecursively();

    const QUrl folder = LumivaneAudioService::audioFolder(id);
    EXPECT_EQ(QDir::cleanPath(folder.toLocalFile()), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(LumivaneAudioService::audioFolder(id), folder);
    QDir(expected).removeRecursively();
}
