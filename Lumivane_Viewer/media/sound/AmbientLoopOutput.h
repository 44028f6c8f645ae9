#pragma once

#include "threads/WorkerThread.h"

#include <QByteArray>

#include <functional>

class QObject;

/// Decodes an audio file's bytes and plays them in an endless loop on a
/// thread of its own, so that a busy GUI thread (a large texture upload, a
/// package being opened) never starves the sound output. Sound starts once
/// a second is decoded; a short track is then looped from memory, a long one
/// is decoded again for every pass, so that little of it is ever held.
class AmbientLoopOutput final
{
public:
    /// Tracks up to this length are kept whole once decoded.
    static constexpr double defaultKeptTrackSeconds = 30.0;

    /// onUndecodable runs in the thread of `reports`, which must outlive this
    /// object, when the bytes turn out to hold no sound the decoder can read;
    /// a report sent just before destruction may still arrive after it.
    AmbientLoopOutput(QByteArray data, float volume, QObject *reports, std::function<void()> onUndecodable,
                      double keptTrackSeconds = defaultKeptTrackSeconds);
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
