#pragma once

#include "viewer/state/ViewerEffects.h"

#include <QFileInfo>
#include <QStringList>

// Records every effect as a short line ("narration.play:3", "prefetch:2",
// "sound") and plays the services' part just enough for the controller:
// narration and reading-aloud flags, a narration length.
class RecordingEffects final : public ViewerEffects
{
public:
    QStringList log;
    QString languageCode = QStringLiteral("fr");
    bool narrationPlaying = false;
    double narrationSeconds = 0; // reported while narration is loaded
    bool readingAloud = false;
    bool ambientMuted = false;

    /// The lines that start with prefix, in order.
    QStringList lines(const QString &prefix) const
    {
        QStringList matching;
        for (const QString &line : log) {
            if (line.startsWith(prefix))
                matching << line;
        }
        return matching;
    }

    void playStationChangeSound() override { log << "sound"; }
    bool playNarration(const QUrl &url) override
    {
        log << "narration.play:" + QFileInfo(url.path()).completeBaseName();
        narrationPlaying = true;
        return true;
    }
    void stopNarration() override { log << "narration.stop"; narrationPlaying = false; }
    bool isNarrationPlaying() const override { return narrationPlaying; }
    double narrationDuration() const override { return narrationPlaying ? narrationSeconds : 0; }
    void prefetchPhoto(const QUrl &url) override { log << "prefetch:" + QFileInfo(url.path()).completeBaseName(); }
    void emptyFullSizeImages() override { log << "images.empty"; }
    void playAmbient(const std::optional<QByteArray> &data) override { log << QString("ambient.play:%1").arg(data.has_value()); }
    void stopAmbient() override { log << "ambient.stop"; }
    void setAmbientMuted(bool muted) override { ambientMuted = muted; }
    bool isAmbientMuted() const override { return ambientMuted; }
    bool isAmbientPlaying() const override { return false; }
    void speak(const QString &text, const QString &code) override
    {
        log << "speak:" + text + "|" + code;
        readingAloud = !text.trimmed().isEmpty();
    }
    void stopSpeech() override { log << "speech.stop"; readingAloud = false; }
    bool isReadingAloud() const override { return readingAloud; }
    bool openExternal(const QUrl &url) override {
        log << "open:" + url.toString();
        return true;
    }
    QString visitorLanguageCode() const override { return languageCode; }
};
