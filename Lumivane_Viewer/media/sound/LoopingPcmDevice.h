#pragma once

#include <QByteArray>
#include <QIODevice>

/// A read-only device that serves one block of PCM over and over without end,
/// so that a pulling audio sink wraps from the last frame to the first with no
/// gap. Knows nothing of the sample format beyond the frame size.
class LoopingPcmDevice final : public QIODevice
{
public:
    /// pcm is cut to whole frames; an empty block reads as nothing.
    LoopingPcmDevice(QByteArray pcm, int bytesPerFrame, QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    QByteArray m_pcm;
    qint64 m_position = 0;
};
