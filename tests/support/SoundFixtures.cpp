#include "SoundFixtures.h"

#include "ChildProcess.h"

#include <QList>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace SoundFixtures {

namespace {

// Well above the dither of a decoded tone's zero crossings, far below the tone.
constexpr int audibleThreshold = 200;

QString codecFor(const QString &path)
{
    static const QList<std::pair<QLatin1String, QString>> codecs = {
        {QLatin1String(".m4a"), QStringLiteral("aac")},
        {QLatin1String(".mp3"), QStringLiteral("libmp3lame")},
        {QLatin1String(".ogg"), QStringLiteral("libvorbis")},
        {QLatin1String(".flac"), QStringLiteral("flac")},
    };
    for (const auto &[extension, codec] : codecs) {
        if (path.endsWith(extension))
            return codec;
    }
    return QStringLiteral("pcm_s16le");
}

QString toneSource(double seconds, int frequency, int sampleRate = 44100)
{
    return QStringLiteral("aevalsrc=%1*sin(2*PI*%2*t):s=%3:d=%4")
        .arg(toneAmplitude)
        .arg(frequency)
        .arg(sampleRate)
        .arg(seconds);
}

bool runFfmpeg(const QStringList &inputsAndOutput)
{
    ChildProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
            QStringLiteral("-y")} + inputsAndOutput);
    return ffmpeg.waitForFinished(20000) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
}

} // namespace

bool writeTone(const QString &path, double seconds, int frequency, int sampleRate)
{
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        toneSource(seconds, frequency, sampleRate), QStringLiteral("-c:a"), codecFor(path)};
    if (!path.endsWith(QLatin1String(".wav")) && !path.endsWith(QLatin1String(".flac")))
        arguments << QStringLiteral("-b:a") << QStringLiteral("128k");
    return runFfmpeg(arguments << path);
}

bool writeToneVideo(const QString &path, double seconds, int frequency)
{
    const QString picture = QStringLiteral("testsrc2=size=320x240:rate=25:duration=%1").arg(seconds);
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), picture,
        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), toneSource(seconds, frequency),
        QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
        QStringLiteral("-c:a"), QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("128k"),
        QStringLiteral("-shortest"), path});
}

double rms(const QVector<qint16> &samples)
{
    if (samples.isEmpty())
        return 0.0;
    double sum = 0.0;
    for (qint16 sample : samples)
        sum += double(sample) * double(sample);
    return std::sqrt(sum / double(samples.size()));
}

double sineRms(double amplitude)
{
    return amplitude * 32767.0 / std::sqrt(2.0);
}

double longestGapMs(const QVector<qint16> &samples, int sampleRate)
{
    qsizetype previous = -1;
    qsizetype longest = 0;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) < audibleThreshold)
            continue;
        if (previous >= 0)
            longest = std::max(longest, i - previous - 1);
        previous = i;
    }
    return 1000.0 * double(longest) / double(sampleRate);
}

QVector<qint16> audiblePart(const QVector<qint16> &samples)
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) >= audibleThreshold) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return first < 0 ? QVector<qint16>() : samples.mid(first, last - first + 1);
}

int peak(const QVector<qint16> &samples)
{
    int result = 0;
    for (qint16 sample : samples)
        result = std::max(result, std::abs(int(sample)));
    return result;
}

} // namespace SoundFixtures
