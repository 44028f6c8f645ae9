#pragma once

#include "media/sound/LumivaneAmbientPlayer.h"
#include "viewer/state/ViewerEffects.h"

#include <QDesktopServices>
#include <QStringList>

// The viewer's effects as the chrome tests need them: every hand-off goes to
// the desktop through QDesktopServices, where a test's URL handler catches
// it; the ambient loop is a real player; speech and narration only keep
// their flags and a log.
class DesktopEffects final : public ViewerEffects
{
public:
    QStringList log;
    bool narrationPlaying = false;
    bool readingAloud = false;
    LumivaneAmbientPlayer ambient;

    void playStationChangeSound() override {}
    bool playNarration(const QUrl &) override { return narrationPlaying = true; }
    void stopNarration() override { narrationPlaying = false; }
    bool isNarrationPlaying() const override { return narrationPlaying; }
    double narrationDuration() const override { return 0; }
    void prefetchPhoto(const QUrl &) override {}
    void emptyFullSizeImages() override {}
    void playAmbient(const std::optional<QByteArray> &data) override { ambient.play(data); }
    void stopAmbient() override { ambient.stop(); }
    void setAmbientMuted(bool muted) override { ambient.setMuted(muted); }
    bool isAmbientMuted() const override { return ambient.isMuted(); }
    bool isAmbientPlaying() const override { return ambient.isPlaying(); }
    void speak(const QString &text, const QString &) override
    {
        log << "speak:" + text;
        readingAloud = !text.trimmed().isEmpty();
    }
    void stopSpeech() override
    {
        log << "speech.stop";
        readingAloud = false;
    }
    bool isReadingAloud() const override { return readingAloud; }
    bool openExternal(const QUrl &url) override { return QDesktopServices::openUrl(url); }
    QString visitorLanguageCode() const override { return QStringLiteral("en"); }
};
