#include "tests/support/SoundFixtures.h"

#include "media/sound/Mp4Duration.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray box(const char *type, const QByteArray &payload)
{
    QByteArray bytes(4, '\0');
    qToBigEndian<quint32>(quint32(8 + payload.size()), bytes.data());
    return bytes + QByteArray(type, 4) + payload;
}

// Version, flags, dates, time scale and duration of a movie or media header.
QByteArray header(quint8 version, quint32 timeScale, quint64 duration)
{
    QByteArray payload(version == 1 ? 32 : 20, '\0');
    payload[0] = char(version);
    const int at = version == 1 ? 20 : 12;
    qToBigEndian<quint32>(timeScale, payload.data() + at);
    if (version == 1)
        qToBigEndian<quint64>(duration, payload.data() + at + 4);
    else
        qToBigEndian<quint32>(quint32(duration), payload.data() + at + 4);
    return payload;
}

class Mp4DurationTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(QStringLiteral("file%1.m4a").arg(++m_count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_folder;
    int m_count = 0;
};

TEST_F(Mp4DurationTest, ReadsTheMovieHeaderOfBothVersionsWhereverTheMovieBoxLies)
{
    const QByteArray ftyp = box("ftyp", "M4A \0\0\0\0");
    const QByteArray media = box("mdat", QByteArray(100, '\x55'));
    EXPECT_EQ(mp4DurationSeconds(write(ftyp + box("moov", box("mvhd", header(0, 1000, 2500))) + media)), 2.5);
    EXPECT_EQ(mp4DurationSeconds(write(ftyp + media + box("moov", box("mvhd", header(1, 44100, 88200))))), 2.0);
}

TEST_F(Mp4DurationTest, FallsBackToTheFirstTrackWhenTheMovieHasNoLength)
{
    const QByteArray track = box("trak", box("tkhd", QByteArray(84, '\0')) + box("mdia", box("mdhd", header(0, 48000, 72000))));
    const QByteArray bytes = box("ftyp", "M4A \0\0\0\0") + box("moov", box("mvhd", header(0, 1000, 0)) + track);
    EXPECT_EQ(mp4DurationSeconds(write(bytes)), 1.5);
}

TEST_F(Mp4DurationTest, GivesNothingForOtherOrDamagedFiles)
{
    EXPECT_FALSE(mp4DurationSeconds(m_folder.filePath(QStringLiteral("absent.m4a"))));
    EXPECT_FALSE(mp4DurationSeconds(write("RIFF\x24\x00\x00\x00WAVEfmt ")));
    EXPECT_FALSE(mp4DurationSeconds(write(QByteArray())));
    const QByteArray ftyp = box("ftyp", "M4A \0\0\0\0");
    // A box claiming more bytes than the file holds, a header cut short,
    // a zero time scale and the "unknown" duration.
    QByteArray oversized = box("moov", box("mvhd", header(0, 1000, 2500)));
    qToBigEndian<quint32>(1u << 30, oversized.data());
    EXPECT_FALSE(mp4DurationSeconds(write(ftyp + oversized)));
    EXPECT_FALSE(mp4DurationSeconds(write(ftyp + box("moov", box("mvhd", header(0, 1000, 2500).left(14))))));
    EXPECT_FALSE(mp4DurationSeconds(write(ftyp + box("moov", box("mvhd", header(0, 0, 2500))))));
    EXPECT_FALSE(mp4DurationSeconds(write(ftyp + box("moov", box("mvhd", header(0, 1000, 0xFFFFFFFFu))))));
}

TEST_F(Mp4DurationTest, MatchesTheLengthOfAnEncodedFile)
{
    const QString path = m_folder.filePath(QStringLiteral("tone.m4a"));
    if (!SoundFixtures::writeTone(path, 1.25))
        GTEST_SKIP() << "ffmpeg is not available to encode a test file";
    const std::optional<double> seconds = mp4DurationSeconds(path);
    ASSERT_TRUE(seconds);
    EXPECT_NEAR(*seconds, 1.25, 0.03);
}

} // namespace
