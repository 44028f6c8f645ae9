#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

/// Everything the viewer makes happen outside its own state: sounds, narration,
/// read-aloud, the ambient loop, photo preloading and hand-offs to the desktop.
/// The viewer implements it with the shared media services; tests record it.
/// All calls come on the main thread.
class ViewerEffects
{
public:
    virtual ~ViewerEffects() = default;

    /// Plays the station-change sound ("Tink") when interface sounds are on.
    virtual void playStationChangeSound() = 0;

    /// Replaces any narration by the file at url; false when it did not start.
    virtual bool playNarration(const QUrl &url) = 0;
    /// Stops narration; harmless when none plays.
    virtual void stopNarration() = 0;
    /// Whether narration plays now (false again once a file has ended).
    virtual bool isNarrationPlaying() const = 0;
    /// Seconds of the narration last started; 0 after a stop or when unknown.
    virtual double narrationDuration() const = 0;

    /// Starts filling the image cache with the photo at url in the background.
    virtual void prefetchPhoto(const QUrl &url) = 0;
    /// Empties the image cache's full-size store (thumbnails stay).
    virtual void emptyFullSizeImages() = 0;

    /// Starts the ambient loop with the sound file's bytes; none plays nothing.
    virtual void playAmbient(const std::optional<QByteArray> &soundData) = 0;
    /// Stops the ambient loop.
    virtual void stopAmbient() = 0;
    /// Silences or restores the ambient loop; kept across restarts.
    virtual void setAmbientMuted(bool muted) = 0;
    /// Whether the ambient loop is silenced.
    virtual bool isAmbientMuted() const = 0;
    /// Whether the ambient loop plays (muted or not).
    virtual bool isAmbientPlaying() const = 0;

    /// Reads the text aloud in the voice of the two-letter code, replacing any reading.
    virtual void speak(const QString &text, const QString &languageCode) = 0;
    /// Stops reading aloud at once.
    virtual void stopSpeech() = 0;
    /// True from speak() of a non-blank text until that text has been read to
    /// its end or stopped.
    virtual bool isReadingAloud() const = 0;

    /// Hands the URL to the desktop's default handler; false when refused.
    virtual bool openExternal(const QUrl &url) = 0;

    /// The two-letter code of the interface language ("fr", "en", "es", "it", "de").
    virtual QString visitorLanguageCode() const = 0;
};
