#pragma once

#include "ChildProcess.h"

#include <QByteArray>
#include <QVector>

/// Records what the private PulseAudio server's null sink plays, through its
/// monitor, as mono 16-bit samples at 44.1 kHz.
class NullSinkRecorder
{
public:
    static constexpr int sampleRate = 44100;

    /// Empty when the null sink can be recorded, else why not (for a skip).
    static QString unavailableReason();

    NullSinkRecorder();
    ~NullSinkRecorder();

    /// Starts recording and returns once the first samples have arrived.
    bool start();
    /// Everything recorded since start(); recording goes on.
    QVector<qint16> samples();
    /// The samples recorded from now for the given time.
    QVector<qint16> record(int milliseconds);

private:
    void collect();

    ChildProcess m_process;
    QByteArray m_bytes;
};
