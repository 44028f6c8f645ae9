#include "LumivaneAmbientPlayer.h"

#include "AmbientLoopOutput.h"

#include "model/SelfContainedMedia.h"

#include <QBuffer>

namespace {

bool isSelfContainedSound(const QByteArray &data)
{
    QBuffer bytes;
    bytes.setData(data);
    return bytes.open(QIODevice::ReadOnly) && isSelfContainedMedia(bytes);
}

} // namespace

LumivaneAmbientPlayer::LumivaneAmbientPlayer(QObject *parent)
    : QObject(parent)
    , m_keptTrackSeconds(AmbientLoopOutput::defaultKeptTrackSeconds)
{
}

LumivaneAmbientPlayer::~LumivaneAmbientPlayer()
{
    stop();
}

void LumivaneAmbientPlayer::play(const std::optional<QByteArray> &data)
{
    if (!data) {
        stop();
        return;
    }
    // The earlier loop ends here, whatever the new bytes turn out to be.
    m_output.reset();
    if (!isSelfContainedSound(*data)) {
        publishIsPlaying();
        return;
    }
    const quint64 loop = ++m_loop;
    m_output = std::make_unique<AmbientLoopOutput>(*data, outputVolume(), this,
        [this, loop] { failToDecode(loop); }, m_keptTrackSeconds);
    publishIsPlaying();
}

void LumivaneAmbientPlayer::stop()
{
    m_output.reset();
    publishIsPlaying();
}

void LumivaneAmbientPlayer::setMuted(bool muted)
{
    m_isMuted = muted;
    emit isMutedChanged(muted);
    if (m_output)
        m_output->setVolume(outputVolume());
}

void LumivaneAmbientPlayer::failToDecode(quint64 loop)
{
    if (loop != m_loop || !m_output)
        return;
    m_output.reset();
    publishIsPlaying();
}

void LumivaneAmbientPlayer::publishIsPlaying()
{
    emit isPlayingChanged(isPlaying());
}

float LumivaneAmbientPlayer::outputVolume() const
{
    return m_isMuted ? 0.0f : m_volume;
}
