#include "ExternalMediaTools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int processTimeoutMs = 60000;

QStringList quietFfmpeg()
{
    return {QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
            QStringLiteral("error"), QStringLiteral("-y")};
}

} // namespace

ExternalMediaTools::ExternalMediaTools()
    : m_ffmpeg(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")))
    , m_espeak(QStandardPaths::findExecutable(QStringLiteral("espeak-ng")))
{
    if (m_ffmpeg.isEmpty())
        return;
    QProcess probe;
    probe.start(m_ffmpeg, {QStringLiteral("-hide_banner"), QStringLiteral("-encoders")});
    if (probe.waitForFinished(processTimeoutMs))
        m_hasH264 = probe.readAllStandardOutput().contains(" libx264 ");
}

bool ExternalMediaTools::run(const QString &program, const QStringList &arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(processTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        m_lastError = program + QStringLiteral(" did not finish");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_lastError = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()).trimmed();
        return false;
    }
    return true;
}

bool ExternalMediaTools::encodeAudio(const QStringList &inputArguments, const QString &path) const
{
    if (!canEncode())
        return false;
    return run(m_ffmpeg, quietFfmpeg() + inputArguments
                             + QStringList{QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-c:a"),
                                           QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("64k"), path});
}

bool ExternalMediaTools::makeVideo(const QString &path, double seconds) const
{
    if (!canEncode())
        return false;
    const QString duration = QString::number(seconds);
    QStringList arguments = quietFfmpeg();
    arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
              << QStringLiteral("testsrc2=size=640x360:rate=25:duration=") + duration << QStringLiteral("-f")
              << QStringLiteral("lavfi") << QStringLiteral("-i")
              << QStringLiteral("sine=frequency=440:duration=") + duration << QStringLiteral("-shortest");
    if (m_hasH264) {
        arguments << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
                  << QStringLiteral("veryfast") << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p")
                  << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-movflags")
                  << QStringLiteral("+faststart");
    } else {
        arguments << QStringLiteral("-c:v") << QStringLiteral("libvpx") << QStringLiteral("-b:v")
                  << QStringLiteral("800k") << QStringLiteral("-c:a") << QStringLiteral("libvorbis");
    }
    arguments << path;
    return run(m_ffmpeg, arguments);
}

bool ExternalMediaTools::makeChime(const QString &path) const
{
    return encodeAudio({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("aevalsrc=0.5*sin(2*PI*880*t)*exp(-4*t)+0.5*gte(t\\,0.5)*sin(2*PI*660*t)*exp(-4*(t-0.5)):d=2:s=44100")},
                       path);
}

bool ExternalMediaTools::makeAmbience(const QString &path, double seconds) const
{
    const QString duration = QString::number(seconds);
    return encodeAudio({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("anoisesrc=color=brown:amplitude=0.15:duration=") + duration,
                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=110:duration=") + duration, QStringLiteral("-filter_complex"),
                        QStringLiteral("[0][1]amix=inputs=2,volume=0.6")},
                       path);
}

bool ExternalMediaTools::makeSpeech(const QString &text, const QString &voice, const QString &path) const
{
    if (!canSpeak())
        return false;
    const QString wave = path + QStringLiteral(".wav");
    const bool spoken = run(m_espeak, {QStringLiteral("-v"), voice, QStringLiteral("-s"), QStringLiteral("165"),
                                       QStringLiteral("-w"), wave, text});
    const bool encoded = spoken && encodeAudio({QStringLiteral("-i"), wave}, path);
    QFile::remove(wave);
    return encoded;
}
