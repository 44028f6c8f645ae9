#include "LoopingPcmDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>

LoopingPcmDevice::LoopingPcmDevice(QByteArray pcm, int bytesPerFrame, QObject *parent)
    : QIODevice(parent)
    , m_pcm(std::move(pcm))
{
    if (bytesPerFrame > 0)
        m_pcm.truncate(m_pcm.size() - m_pcm.size() % bytesPerFrame);
}

qint64 LoopingPcmDevice::bytesAvailable() const
{
    if (m_pcm.isEmpty())
        return QIODevice::bytesAvailable();
    // Endless: as much as any reader asks for.
    return std::numeric_limits<int>::max() + QIODevice::bytesAvailable();
}

qint64 LoopingPcmDevice::readData(char *data, qint64 maxSize)
{
    if (m_pcm.isEmpty())
        return 0;
    qint64 written = 0;
    while (written < maxSize) {
        const qint64 chunk = std::min(maxSize - written, qint64(m_pcm.size()) - m_position);
        std::memcpy(data + written, m_pcm.constData() + m_position, size_t(chunk));
        written += chunk;
        m_position = (m_position + chunk) % m_pcm.size();
    }
    return written;
}

qint64 LoopingPcmDevice::writeData(const char *, qint64)
{
    return -1;
}
