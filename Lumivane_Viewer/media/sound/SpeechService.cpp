#include "SpeechService.h"

#include "SpeechEngine.h"

#include <QCoreApplication>
#include <QHash>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

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
    if (!m_thread)
        return;
    SpeechEngine *engine = m_engine;
    QMetaObject::invokeMethod(engine, [engine] {
        engine->stop();
        QThread::currentThread()->quit();
    });
    if (!m_thread->wait(shutdownWaitMs)) {
        // A stalled daemon holds the thread; it is abandoned rather than
        // destroyed while running, and ends with the process.
        (void)m_thread.release();
    }
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
    SpeechEngine *target = engine();
    const QString voiceTag = voiceLanguage(languageCode);
    QMetaObject::invokeMethod(target, [target, trimmed, voiceTag] { target->speak(trimmed, voiceTag); });
    m_isSpeaking = true;
}

void SpeechService::stop()
{
    // Before the first text there is no engine, and nothing to stop.
    if (SpeechEngine *target = m_engine)
        QMetaObject::invokeMethod(target, [target] { target->stop(); });
    m_isSpeaking = false;
}

bool SpeechService::synthesizerIsSpeaking() const
{
    return m_engine && m_engine->isSpeaking();
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

SpeechEngine *SpeechService::engine()
{
    if (m_engine)
        return m_engine;
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("speech"));
    auto *engine = new SpeechEngine; // owned by its thread: deleted when the thread ends
    engine->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::finished, engine, &QObject::deleteLater);
    m_thread->start();
    m_engine = engine;
    return engine;
}
