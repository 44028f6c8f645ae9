#include "LumivaneAmbientPlayer.h"

#include "AmbientLoopOutput.h"


namespace {

// The containers and streams a desktop audio player opens. Bytes of any other
// kind are refused at once rather than after the decoder has tried them.
bool hasAudioSignature(const QByteArray &data)
{
    const auto at = [&data](qsizetype offset, const char *tag) {
        return data.mid(offset, qsizetype(qstrlen(tag))) == tag;
    };
    if (data.size() < 12)
        return false;
    if (at(0, "RIFF") && at(8, "WAVE"))
        return true;
    if (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC")))
        return true;
    if (at(4, "ftyp") || at(0, "caff") || at(0, "ID3") || at(0, "fLaC") || at(0, "OggS"))
        return true;
    // MPEG audio and ADTS AAC start with an eleven-bit frame sync.
    return quint8(data[0]) == 0xFF && (quint8(data[1]) & 0xE0) == 0xE0;
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
    if (!hasAudioSignature(*data)) {
        publishIsPlaying(false);
        return;
    }
    const quint64 loop = ++m_loop;
    m_output = std::make_unique<AmbientLoopOutput>(*data, outputVolume(), this,
        [this, loop] { failToDecode(loop); }, m_keptTrackSeconds);
    publishIsPlaying(true);
}

void LumivaneAmbientPlayer::stop()
{
    m_output.reset();
    publishIsPlaying(false);
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
    publishIsPlaying(false);
}

void LumivaneAmbientPlayer::publishIsPlaying(bool isPlaying)
{
    m_isPlaying = isPlaying;
    emit isPlayingChanged(isPlaying);
}

float LumivaneAmbientPlayer::outputVolume() const
{
    return m_isMuted ? 0.0f : m_volume;
}
