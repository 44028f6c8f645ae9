#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QThread>

#include <memory>

/// Plays one block of PCM in an endless loop on a thread of its own, so that a
/// busy GUI thread (a large texture upload, a package being opened) never
/// starves the sound output. Knows nothing of files: it is handed decoded PCM.
class AmbientLoopOutput final
{
public:
    AmbientLoopOutput(QByteArray pcm, const QAudioFormat &format, float volume);
    /// Stops the sound and joins the thread.
    ~AmbientLoopOutput();

    AmbientLoopOutput(const AmbientLoopOutput &) = delete;
    AmbientLoopOutput &operator=(const AmbientLoopOutput &) = delete;

    /// Linear gain, taking effect with the next samples handed to the device.
    void setVolume(float volume);

private:
    struct Playback;

    QThread m_thread;
    QObject m_context; // lives on m_thread; the work posted to it runs there
    std::shared_ptr<Playback> m_playback;
};
