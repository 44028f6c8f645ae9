#include "LoopingPcmDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Played bytes are dropped from the front of the queue in pieces of at least
// this size, so that a sink pulling small periods does not move the rest each time.
constexpr qsizetype queueCompactionBytes = 256 * 1024;

} // namespace

LoopingPcmDevice::LoopingPcmDevice(int bytesPerFrame, qint64 keptTrackLimitBytes, QObject *parent)
    : QIODevice(parent)
    , m_bytesPerFrame(std::max(bytesPerFrame, 1))
    , m_keptTrackLimit(keptTrackLimitBytes)
{
}

void LoopingPcmDevice::append(QByteArrayView pcm)
{
    if (m_keptWhole)
        return;
    m_queue.append(pcm);
    if (!m_keepingFirstPass)
        return;
    if (m_track.size() + pcm.size() > m_keptTrackLimit) {
        m_keepingFirstPass = false;
        m_track = QByteArray();
    } else {
        m_track.append(pcm);
    }
}

bool LoopingPcmDevice::finishPass()
{
    if (m_keepingFirstPass && !m_track.isEmpty()) {
        // Go on from the same frame: the queue holds the unplayed end of the track.
        m_keptWhole = true;
        m_trackPosition = m_track.size() - (m_queue.size() - m_queueHead);
        m_queue = QByteArray();
        m_queueHead = 0;
    }
    m_keepingFirstPass = false;
    return m_keptWhole;
}

bool LoopingPcmDevice::open(OpenMode mode)
{
    return QIODevice::open(mode | Unbuffered);
}

qint64 LoopingPcmDevice::bytesAhead() const
{
    if (m_keptWhole)
        return std::numeric_limits<qint64>::max();
    return m_queue.size() - m_queueHead;
}

qint64 LoopingPcmDevice::bytesAvailable() const
{
    // Endless: as much as any reader asks for.
    return std::numeric_limits<int>::max() + QIODevice::bytesAvailable();
}

qint64 LoopingPcmDevice::readData(char *data, qint64 maxSize)
{
    // Whole frames only, so that silence put in for a late decoder never
    // shifts the frames that follow it.
    const qint64 wanted = maxSize - maxSize % m_bytesPerFrame;
    if (wanted <= 0)
        return 0;
    const qint64 delivered = m_keptWhole ? readKept(data, wanted) : readQueued(data, wanted);
    std::memset(data + delivered, 0, size_t(wanted - delivered));
    if (onRead)
        onRead();
    return wanted;
}

qint64 LoopingPcmDevice::readQueued(char *data, qint64 maxSize)
{
    const qint64 count = std::min(maxSize, qint64(m_queue.size() - m_queueHead));
    std::memcpy(data, m_queue.constData() + m_queueHead, size_t(count));
    m_queueHead += count;
    if (m_queueHead == m_queue.size()) {
        m_queue.resize(0);
        m_queueHead = 0;
    } else if (m_queueHead >= queueCompactionBytes && m_queueHead * 2 >= m_queue.size()) {
        m_queue.remove(0, m_queueHead);
        m_queueHead = 0;
    }
    return count;
}

qint64 LoopingPcmDevice::readKept(char *data, qint64 maxSize)
{
    qint64 written = 0;
    while (written < maxSize) {
        const qint64 chunk = std::min(maxSize - written, qint64(m_track.size() - m_trackPosition));
        std::memcpy(data + written, m_track.constData() + m_trackPosition, size_t(chunk));
        written += chunk;
        m_trackPosition = (m_trackPosition + chunk) % m_track.size();
    }
    return written;
}

qint64 LoopingPcmDevice::writeData(const char *, qint64)
{
    return -1;
}
