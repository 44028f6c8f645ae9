#pragma once

#include "threads/WorkerThread.h"

#include <QAudioFormat>
#include <QByteArray>

/// Plays one block of PCM in an endless loop on a thread of its own, so that a
/// busy GUI thread (a large texture upload, a package being opened) never
/// starves the sound output. Knows nothing of files: it is handed decoded PCM.
class AmbientLoopOutput final
{
public:
    AmbientLoopOutput(QByteArray pcm, const QAudioFormat &format, float volume);
    /// Stops the sound and ends the thread.
    ~AmbientLoopOutput();

    AmbientLoopOutput(const AmbientLoopOutput &) = delete;
    AmbientLoopOutput &operator=(const AmbientLoopOutput &) = delete;

    /// Linear gain, taking effect with the next samples handed to the device.
    void setVolume(float volume);

private:
    class Playback;

    WorkerThread<Playback> m_thread;
};
