#include "viewer/ServiceViewerEffects.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAmbientPlayer.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/SoundService.h"
#include "media/sound/SpeechService.h"

namespace {

// The speech engine says it reads only once it has started, up to a second
// or two after the text was handed over (longer on its first start); in that
// time the text counts as being read, so a second press stops it.
constexpr qint64 speechStartGraceMs = 2500;

} // namespace

ServiceViewerEffects::ServiceViewerEffects(ViewerServices services)
    : m_services(std::move(services))
    , m_ambient(std::make_unique<LumivaneAmbientPlayer>())
{
}

ServiceViewerEffects::~ServiceViewerEffects() = default;

void ServiceViewerEffects::playStationChangeSound()
{
    if (m_services.sounds)
        m_services.sounds->play(SoundService::Sound::tink);
}

bool ServiceViewerEffects::playNarration(const QUrl &url)
{
    return m_services.narration && m_services.narration->play(url);
}

void ServiceViewerEffects::stopNarration()
{
    if (m_services.narration)
        m_services.narration->stopPlayback();
}

bool ServiceViewerEffects::isNarrationPlaying() const
{
    return m_services.narration && m_services.narration->isPlaying();
}

double ServiceViewerEffects::narrationDuration() const
{
    return m_services.narration ? m_services.narration->playbackDuration() : 0;
}

void ServiceViewerEffects::prefetchPhoto(const QUrl &url)
{
    if (m_preloading && m_services.imageCache)
        m_services.imageCache->prefetch(url, m_photoBound ? m_photoBound() : QSize());
}

void ServiceViewerEffects::emptyFullSizeImages()
{
    if (m_services.imageCache)
        m_services.imageCache->emptyFullImageStore();
}

void ServiceViewerEffects::playAmbient(const std::optional<QByteArray> &soundData)
{
    m_ambient->play(soundData);
}

void ServiceViewerEffects::stopAmbient()
{
    m_ambient->stop();
}

void ServiceViewerEffects::setAmbientMuted(bool muted)
{
    m_ambient->setMuted(muted);
}

bool ServiceViewerEffects::isAmbientMuted() const
{
    return m_ambient->isMuted();
}

bool ServiceViewerEffects::isAmbientPlaying() const
{
    return m_ambient->isPlaying();
}

void ServiceViewerEffects::speak(const QString &text, const QString &languageCode)
{
    if (!m_services.speech)
        return;
    m_services.speech->speak(text, languageCode);
    m_sinceSpeak.start();
}

void ServiceViewerEffects::stopSpeech()
{
    if (m_services.speech)
        m_services.speech->stop();
}

bool ServiceViewerEffects::isReadingAloud() const
{
    if (!m_services.speech || !m_services.speech->isSpeaking())
        return false;
    return m_services.speech->synthesizerIsSpeaking()
           || (m_sinceSpeak.isValid() && m_sinceSpeak.elapsed() < speechStartGraceMs);
}

bool ServiceViewerEffects::openExternal(const QUrl &url)
{
    return m_services.openExternal && m_services.openExternal(url);
}

QString ServiceViewerEffects::visitorLanguageCode() const
{
    return m_services.l10n ? m_services.l10n->languageCode() : QStringLiteral("fr");
}
