#pragma once

#include <QString>
#include <QStringList>

/// Makes short sound and video files with the ffmpeg and espeak-ng programs
/// when they are installed. Every call blocks until its program ends and may
/// run on any thread; nothing is shared between calls.
class ExternalMediaTools
{
public:
    /// Looks the programs up on PATH once.
    ExternalMediaTools();

    bool canEncode() const { return !m_ffmpeg.isEmpty(); }
    bool canSpeak() const { return canEncode() && !m_espeak.isEmpty(); }
    /// "mp4" (H.264 and AAC) when ffmpeg has an H.264 encoder, else "webm".
    QString videoExtension() const { return m_hasH264 ? QStringLiteral("mp4") : QStringLiteral("webm"); }

    /// A test pattern with a tone, a few seconds long, in videoExtension() form.
    bool makeVideo(const QString &path, double seconds) const;
    /// A two-note chime as AAC in an .m4a file.
    bool makeChime(const QString &path) const;
    /// A soft, loopable background hum as AAC in an .m4a file.
    bool makeAmbience(const QString &path, double seconds) const;
    /// Speaks text with the given espeak-ng voice (such as "fr") into AAC.
    bool makeSpeech(const QString &text, const QString &voice, const QString &path) const;

    QString lastError() const { return m_lastError; }

private:
    bool run(const QString &program, const QStringList &arguments) const;
    bool encodeAudio(const QStringList &inputArguments, const QString &path) const;

    QString m_ffmpeg;
    QString m_espeak;
    bool m_hasH264 = false;
    mutable QString m_lastError;
};
