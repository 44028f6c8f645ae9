#include "SpeechEngine.h"

#include <QTextToSpeech>
#include <QTimer>

namespace {

constexpr int pauseBeforeMs = 150;
constexpr int pauseAfterMs = 300;

// The reading speed on a scale where 0 is slowest, 0.5 normal and 1 fastest:
// a touch slower than normal.
constexpr double readingRate = 0.48;

// The engine's scale runs from -1 (slowest) through 0 (normal) to 1 (fastest).
constexpr double engineRate = (readingRate - 0.5) / 0.5;

} // namespace

SpeechEngine::SpeechEngine()
    : m_pauseBefore(new QTimer(this))
    , m_pauseAfter(new QTimer(this))
{
    for (QTimer *pause : {m_pauseBefore, m_pauseAfter}) {
        pause->setSingleShot(true);
        pause->setTimerType(Qt::PreciseTimer);
    }
    m_pauseBefore->setInterval(pauseBeforeMs);
    m_pauseAfter->setInterval(pauseAfterMs);
    connect(m_pauseBefore, &QTimer::timeout, this, &SpeechEngine::sayPending);
    connect(m_pauseAfter, &QTimer::timeout, this, &SpeechEngine::finishText);
}

void SpeechEngine::speak(const QString &text, const QString &voiceTag, quint64 textNumber)
{
    stop();
    ensureEngine();
    m_pendingText = text;
    m_pendingVoiceTag = voiceTag;
    m_textNumber = textNumber;
    m_isSpeaking = true;
    m_pauseBefore->start();
}

void SpeechEngine::stop()
{
    m_pauseBefore->stop();
    m_pauseAfter->stop();
    // Whatever state the engine reports: it may not have told yet that it
    // speaks the text it took.
    if (m_engine && (m_handedOver || m_engine->state() == QTextToSpeech::Speaking))
        m_engine->stop();
    m_handedOver = false;
    m_isSpeaking = false;
}

void SpeechEngine::ensureEngine()
{
    if (m_engine)
        return;
    // Blocks this thread while the speech daemon starts.
    m_engine = new QTextToSpeech(QStringLiteral("speechd"), this);
    m_engineLocale = m_engine->locale();
    connect(m_engine, &QTextToSpeech::stateChanged, this,
        [this](QTextToSpeech::State state) { handleEngineState(int(state)); });
}

void SpeechEngine::sayPending()
{
    if (m_engine->state() == QTextToSpeech::Error) {
        finishText();
        return;
    }
    applyVoice(m_pendingVoiceTag);
    m_engine->setRate(engineRate);
    m_engine->setPitch(0.0);
    m_engine->setVolume(1.0);
    m_handedOver = true;
    m_engineSpoke = false;
    m_engine->say(m_pendingText);
}

void SpeechEngine::applyVoice(const QString &voiceTag)
{
    const QString wanted = QLocale(voiceTag).name();
    const QList<QLocale> offered = m_engine->availableLocales();
    for (const QLocale &locale : offered) {
        if (locale.name() == wanted) {
            m_engine->setLocale(locale);
            return;
        }
    }
    // No voice for the language: the engine reads in the voice it chose itself.
    if (m_engine->locale() != m_engineLocale && offered.contains(m_engineLocale))
        m_engine->setLocale(m_engineLocale);
}

void SpeechEngine::handleEngineState(int state)
{
    if (!m_handedOver)
        return;
    if (state == QTextToSpeech::Speaking) {
        m_engineSpoke = true;
        return;
    }
    // A report of a text stopped before this one went over comes before the
    // engine speaks, and is no end of this text.
    if (state != QTextToSpeech::Error && !m_engineSpoke)
        return;
    m_handedOver = false;
    if (state == QTextToSpeech::Error)
        finishText();
    else
        m_pauseAfter->start();
}

void SpeechEngine::finishText()
{
    m_isSpeaking = false;
    emit textFinished(m_textNumber);
}
