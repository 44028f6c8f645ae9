#pragma once

#include <QObject>
#include <QString>

#include <memory>

class SpeechEngine;
template <typename Worker>
class WorkerThread;

/// Reads a text aloud with the system's speech engine in the visitor's
/// language. Main thread only; the engine itself runs on a thread of its own,
/// started on the first text, so the window never waits for it.
class SpeechService final : public QObject
{
public:
    explicit SpeechService(QObject *parent = nullptr);
    /// Stops any reading and ends the engine's thread.
    ~SpeechService() override;

    /// The application's one instance, created on first use and owned by the
    /// application object.
    static SpeechService &shared();

    /// Stops any reading, then reads the trimmed text after a short pause in
    /// the voice of the two-letter code; a blank text reads nothing.
    void speak(const QString &text, const QString &languageCode);
    /// Stops any reading at once.
    void stop();

    /// True from a speak() that handed over a text until the next stop() or
    /// speak(); it stays true after a text was read to its end.
    bool isSpeaking() const { return m_isSpeaking; }
    /// True from a speak() of a non-blank text until that text has been read
    /// to its end (or found unreadable) or stopped.
    bool isReadingAloud() const { return m_isReadingAloud; }
    /// Whether the synthesizer is reading now (pauses around a text included).
    bool synthesizerIsSpeaking() const;

    /// The voice language tag of a visitor language code; French for codes
    /// outside the five languages.
    static QString voiceLanguage(const QString &languageCode);

private:
    WorkerThread<SpeechEngine> &engine();

    std::unique_ptr<WorkerThread<SpeechEngine>> m_engine; // made on first use
    bool m_isSpeaking = false;
    bool m_isReadingAloud = false;
    quint64 m_textNumber = 0; // counts the texts handed over, to match their ends
};
