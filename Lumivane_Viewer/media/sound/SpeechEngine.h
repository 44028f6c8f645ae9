#pragma once

#include <QLocale>
#include <QObject>
#include <QString>

#include <atomic>

class QTextToSpeech;
class QTimer;

/// The synthesizer behind the read-aloud service. It lives on a thread of its
/// own: the system engine takes more than a second to start and can stall when
/// no audio output answers, and neither may freeze the window. speak() and
/// stop() run on that thread; isSpeaking() may be read from any thread.
class SpeechEngine final : public QObject
{
public:
    SpeechEngine();

    /// Stops any text at once, then reads this one after a short pause, in the
    /// voice of the tag (e.g. "fr-FR") when the engine offers it, else in the
    /// engine's own choice. Starts the system engine on first use.
    void speak(const QString &text, const QString &voiceTag);
    /// Stops at once; also cancels the pauses before and after a text.
    void stop();

    /// From the hand-over of a text until the pause after it has passed.
    bool isSpeaking() const { return m_isSpeaking.load(); }

private:
    void ensureEngine();
    void sayPending();
    void applyVoice(const QString &voiceTag);
    void handleEngineState(int state);

    QTextToSpeech *m_engine = nullptr; // a child, made on first speak()
    QLocale m_engineLocale;            // the engine's choice before any voice was set
    QTimer *m_pauseBefore = nullptr;
    QTimer *m_pauseAfter = nullptr;
    QString m_pendingText;
    QString m_pendingVoiceTag;
    bool m_reading = false; // the engine reads a text of ours
    std::atomic<bool> m_isSpeaking{false};
};
