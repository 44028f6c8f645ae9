#include "SoundService.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QSoundEffect>
#include <QUrl>

// Resources of a static library must be registered by name.
static void registerInterfaceSounds()
{
    Q_INIT_RESOURCE(interface_sounds);
}

namespace {

constexpr float interfaceVolume = 0.15f;

QString soundName(SoundService::Sound sound)
{
    switch (sound) {
    case SoundService::Sound::pop:
        return QStringLiteral("Pop");
    case SoundService::Sound::tink:
        return QStringLiteral("Tink");
    case SoundService::Sound::glass:
        return QStringLiteral("Glass");
    case SoundService::Sound::morse:
        return QStringLiteral("Morse");
    case SoundService::Sound::funk:
        return QStringLiteral("Funk");
    }
    Q_UNREACHABLE();
}

QString resourcePath(const QString &name)
{
    return QStringLiteral(":/lumivane/sounds/") + name + QStringLiteral(".wav");
}

} // namespace

SoundService::SoundService(QObject *parent)
    : QObject(parent)
{
    registerInterfaceSounds();
}

SoundService &SoundService::shared()
{
    Q_ASSERT(QCoreApplication::instance());
    static QPointer<SoundService> instance;
    if (!instance)
        instance = new SoundService(QCoreApplication::instance());
    return *instance;
}

QString SoundService::enabledKey()
{
    return QStringLiteral("lumivaneSoundsEnabled");
}

void SoundService::play(Sound sound)
{
    if (!QSettings().value(enabledKey(), false).toBool())
        return;
    const QString name = soundName(sound);
    if (QSoundEffect *effect = m_cache.value(name)) {
        // Restart rather than overlap a copy of itself.
        effect->stop();
        effect->play();
        return;
    }
    const QString path = resourcePath(name);
    if (!QFile::exists(path))
        return;
    auto *effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + path));
    effect->setVolume(interfaceVolume);
    m_cache.insert(name, effect);
    effect->play();
}

bool SoundService::hasLoaded(Sound sound) const
{
    return m_cache.contains(soundName(sound));
}
