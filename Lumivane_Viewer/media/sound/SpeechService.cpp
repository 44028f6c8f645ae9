#include "SpeechService.h"

#include "SpeechEngine.h"

#include "threads/WorkerThread.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

namespace {

// How long quitting waits for a speech daemon that stopped answering.
constexpr int shutdownWaitMs = 2000;

} // namespace

SpeechService::SpeechService(QObject *parent)
    : QObject(parent)
{
}

SpeechService::~SpeechService()
{
    // The engine's thread ends once the reading has stopped; a stalled
    // daemon holding it is abandoned after a while rather than waited for.
    if (m_engine)
        m_engine->post([](SpeechEngine &engine) { engine.stop(); });
}

SpeechService &SpeechService::shared()
{
    Q_ASSERT(QCoreApplication::instance());
    static QPointer<SpeechService> instance;
    if (!instance)
        instance = new SpeechService(QCoreApplication::instance());
    return *instance;
}

void SpeechService::speak(const QString &text, const QString &languageCode)
{
    stop();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    const QString voiceTag = voiceLanguage(languageCode);
    const quint64 number = ++m_textNumber;
    engine().post([trimmed, voiceTag, number](SpeechEngine &engine) { engine.speak(trimmed, voiceTag, number); });
    m_isSpeaking = true;
    m_isReadingAloud = true;
}

void SpeechService::stop()
{
    // Before the first text there is no engine, and nothing to stop.
    if (m_engine)
        m_engine->post([](SpeechEngine &engine) { engine.stop(); });
    m_isSpeaking = false;
    m_isReadingAloud = false;
}

bool SpeechService::synthesizerIsSpeaking() const
{
    return m_engine && m_engine->worker().isSpeaking();
}

QString SpeechService::voiceLanguage(const QString &languageCode)
{
    static const QHash<QString, QString> voices = {
        {QStringLiteral("fr"), QStringLiteral("fr-FR")},
        {QStringLiteral("en"), QStringLiteral("en-US")},
        {QStringLiteral("es"), QStringLiteral("es-ES")},
        {QStringLiteral("de"), QStringLiteral("de-DE")},
        {QStringLiteral("it"), QStringLiteral("it-IT")},
    };
    return voices.value(languageCode.toLower(), QStringLiteral("fr-FR"));
}

WorkerThread<SpeechEngine> &SpeechService::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<WorkerThread<SpeechEngine>>(QStringLiteral("speech"), std::make_unique<SpeechEngine>());
        m_engine->setWaitLimitMs(shutdownWaitMs);
        // Queued from the engine's thread; an end of an earlier text is no end of this one.
        connect(&m_engine->worker(), &SpeechEngine::textFinished, this, [this](quint64 number) {
            if (number == m_textNumber)
                m_isReadingAloud = false;
        });
    }
    return *m_engine;
}
