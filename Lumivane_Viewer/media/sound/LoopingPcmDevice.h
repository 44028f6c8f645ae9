#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <functional>

/// A read-only device that plays a track over and over for a pulling audio
/// sink, as its decoder delivers it pass after pass, so that the last frame
/// of a pass runs into the first of the next with no gap. A track no longer
/// than the memory limit is kept once its first pass has arrived, and looped
/// from memory from then on; a longer one is dropped as it plays and must be
/// delivered again for every pass, so what is held stays bounded. Knows
/// nothing of the sample format beyond the frame size, nor of decoders.
class LoopingPcmDevice final : public QIODevice
{
public:
    LoopingPcmDevice(int bytesPerFrame, qint64 keptTrackLimitBytes, QObject *parent = nullptr);

    /// Decoded whole frames, in order; ignored once the track loops from memory.
    void append(QByteArrayView pcm);
    /// Marks the end of a pass. True when the track is now looped from memory
    /// and needs no further pass.
    bool finishPass();
    /// Delivered and not yet played; what is kept whole never runs out.
    qint64 bytesAhead() const;
    /// Reading past what was delivered gives silence, never an end.

    /// Called after each read, so that the feeder can deliver more.
    std::function<void()> onRead;

    /// Always unbuffered: a buffering reader would ask for more than it plays
    /// and be handed silence for the part not yet decoded.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    qint64 readQueued(char *data, qint64 maxSize);
    qint64 readKept(char *data, qint64 maxSize);

    const int m_bytesPerFrame;
    const qint64 m_keptTrackLimit;
    QByteArray m_queue; // delivered, played up to m_queueHead
    qsizetype m_queueHead = 0;
    QByteArray m_track; // the first pass, while it may still be kept whole
    bool m_keepingFirstPass = true;
    bool m_keptWhole = false;
    qsizetype m_trackPosition = 0; // in m_track once kept whole
};
