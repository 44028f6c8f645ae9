#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QSoundEffect;

/// Plays short interface sounds as feedback, only while the user has switched
/// interface sounds on (the setting is read on every call, never written).
/// Main thread only.
class SoundService final : public QObject
{
public:
    /// The five interface sounds, in their fixed order.
    enum class Sound : quint8 { pop, tink, glass, morse, funk };

    explicit SoundService(QObject *parent = nullptr);

    /// The application's one instance, created on first use and owned by the
    /// application object.
    static SoundService &shared();

    /// Plays the sound from its start, restarting it when it still plays.
    void play(Sound sound);

    /// Whether the sound has been loaded by an earlier play().
    bool hasLoaded(Sound sound) const;

    /// The settings key of the switch.
    static QString enabledKey();

private:
    QHash<QString, QSoundEffect *> m_cache; // by sound name; entries stay
};
