#include "LumivaneAmbientPlayer.h"

#include "AmbientLoopOutput.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QBuffer>

#include <utility>

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
    if (at(4, "ftyp") || at(0, "caff") || at(0, "ID3") || at(0, "fLaC"))
        return true;
    // MPEG audio and ADTS AAC start with an eleven-bit frame sync.
    return quint8(data[0]) == 0xFF && (quint8(data[1]) & 0xE0) == 0xE0;
}

} // namespace

LumivaneAmbientPlayer::LumivaneAmbientPlayer(QObject *parent)
    : QObject(parent)
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
    dropDecoder();
    m_output.reset();
    if (!hasAudioSignature(*data)) {
        publishIsPlaying(false);
        return;
    }
    startDecoding(*data);
    publishIsPlaying(true);
}

void LumivaneAmbientPlayer::stop()
{
    dropDecoder();
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

void LumivaneAmbientPlayer::startDecoding(const QByteArray &data)
{
    // Decoded once, then looped from memory: the player's own looping leaves
    // a tenth of a second of silence at every wrap.
    auto *decoder = new QAudioDecoder(this);
    auto *source = new QBuffer(decoder);
    source->setData(data);
    source->open(QIODevice::ReadOnly);
    decoder->setSourceDevice(source);
    m_decoder = decoder;
    m_pcm.clear();
    m_format = QAudioFormat();
    connect(decoder, &QAudioDecoder::bufferReady, this, &LumivaneAmbientPlayer::takeDecodedBuffer);
    connect(decoder, &QAudioDecoder::finished, this, &LumivaneAmbientPlayer::startLoop);
    connect(decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this,
        &LumivaneAmbientPlayer::failToDecode);
    decoder->start();
}

void LumivaneAmbientPlayer::takeDecodedBuffer()
{
    const QAudioBuffer buffer = m_decoder->read();
    if (!buffer.isValid())
        return;
    if (!m_format.isValid())
        m_format = buffer.format();
    if (buffer.format() != m_format) {
        failToDecode();
        return;
    }
    m_pcm.append(buffer.constData<char>(), buffer.byteCount());
}

void LumivaneAmbientPlayer::startLoop()
{
    dropDecoder();
    if (!m_format.isValid() || m_pcm.size() < m_format.bytesPerFrame()) {
        failToDecode();
        return;
    }
    m_output = std::make_unique<AmbientLoopOutput>(std::exchange(m_pcm, {}), m_format, outputVolume());
}

void LumivaneAmbientPlayer::failToDecode()
{
    dropDecoder();
    m_pcm.clear();
    publishIsPlaying(false);
}

void LumivaneAmbientPlayer::dropDecoder()
{
    if (!m_decoder)
        return;
    QAudioDecoder *decoder = m_decoder;
    m_decoder = nullptr;
    decoder->disconnect(this);
    decoder->stop();
    // May be called from the decoder's own signals.
    decoder->deleteLater();
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
