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
    Q_OBJECT

public:
    SpeechEngine();

    /// Stops any text at once, then reads this one after a short pause, in the
    /// voice of the tag (e.g. "fr-FR") when the engine offers it, else in the
    /// engine's own choice. Starts the system engine on first use. The
    /// number comes back with textFinished.
    void speak(const QString &text, const QString &voiceTag, quint64 textNumber);
    /// Stops at once; also cancels the pauses before and after a text.
    void stop();

    /// From the hand-over of a text until the pause after it has passed.
    bool isSpeaking() const { return m_isSpeaking.load(); }

signals:
    /// The text of that speak() was read to its end, or could not be read;
    /// not sent for a text that was stopped.
    void textFinished(quint64 textNumber);

private:
    void ensureEngine();
    void sayPending();
    void applyVoice(const QString &voiceTag);
    void handleEngineState(int state);
    void finishText();

    QTextToSpeech *m_engine = nullptr; // a child, made on first speak()
    QLocale m_engineLocale;            // the engine's choice before any voice was set
    QTimer *m_pauseBefore = nullptr;
    QTimer *m_pauseAfter = nullptr;
    QString m_pendingText;
    QString m_pendingVoiceTag;
    quint64 m_textNumber = 0;
    // A text of ours went to the engine and has neither ended nor been
    // stopped. The engine reports that it speaks only some tens of
    // milliseconds after taking a text; until then only this tells.
    bool m_handedOver = false;
    bool m_engineSpoke = false; // the engine said it speaks the text handed over
    std::atomic<bool> m_isSpeaking{false};
};
