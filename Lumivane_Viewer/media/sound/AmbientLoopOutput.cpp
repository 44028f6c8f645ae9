#include "AmbientLoopOutput.h"

#include "LoopingPcmDevice.h"
#include "Mp3Gapless.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// Decoders left to choose their own output format fail some streams (MP3
// among them) on this platform; a fixed format also lets every pass of every
// track feed one sink.
QAudioFormat loopFormat()
{
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// The sound starts once this much is decoded (or the whole track, if shorter).
constexpr double startAfterSeconds = 1.0;
// Decoding pauses while this much lies ahead of what plays: enough to ride
// out the start of the next pass's decoder and a busy machine.
constexpr double decodeAheadSeconds = 4.0;

// The frames of each pass that belong to the track, in the loop's format:
// all of them, but for an MP3 file the encoder's delay and padding are cut.
struct SoundWindow
{
    qint64 first = 0;
    qint64 end = std::numeric_limits<qint64>::max();
};

SoundWindow soundWindow(const QByteArray &data, const QAudioFormat &format)
{
    const std::optional<Mp3Gapless> gapless = mp3Gapless(data);
    if (!gapless)
        return {};
    // The decoder resamples to the loop's rate.
    const double scale = double(format.sampleRate()) / double(gapless->sampleRate);
    const qint64 first = std::llround(double(gapless->leadingSamples) * scale);
    return {first, first + std::llround(double(gapless->soundSamples) * scale)};
}

} // namespace

// The decoder, the sink and its device, created, used and destroyed on the
// output thread only.
class AmbientLoopOutput::Playback final : public QObject
{
public:
    Playback(QObject *reports, std::function<void()> onUndecodable)
        : m_reports(reports)
        , m_onUndecodable(std::move(onUndecodable))
    {
    }

    ~Playback() override
    {
        if (m_sink)
            m_sink->stop();
    }

    void start(QByteArray data, const QAudioDevice &output, float volume, double keptTrackSeconds)
    {
        m_data = std::move(data);
        m_window = soundWindow(m_data, m_format);
        m_output = output;
        m_volume = volume;
        m_device = std::make_unique<LoopingPcmDevice>(m_format.bytesPerFrame(),
                                                      m_format.bytesForDuration(qint64(keptTrackSeconds * 1e6)));
        m_device->onRead = [this] {
            // Not from inside the sink's read: the decoder is topped up next.
            QMetaObject::invokeMethod(this, &Playback::takeDecoded, Qt::QueuedConnection);
        };
        m_device->open(QIODevice::ReadOnly);
        startPass();
    }

    void setVolume(float volume)
    {
        m_volume = volume;
        if (m_sink)
            m_sink->setVolume(volume);
    }

private:
    void startPass()
    {
        auto *decoder = new QAudioDecoder(this);
        auto *source = new QBuffer(decoder);
        source->setData(m_data);
        source->open(QIODevice::ReadOnly);
        decoder->setAudioFormat(m_format);
        decoder->setSourceDevice(source);
        m_decoder = decoder;
        m_passFrames = 0;
        m_passBytes = 0;
        connect(decoder, &QAudioDecoder::bufferReady, this, &Playback::takeDecoded);
        connect(decoder, &QAudioDecoder::finished, this, &Playback::finishPass);
        connect(decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this, &Playback::giveUp);
        decoder->start();
    }

    // Takes what the decoder has ready while there is room ahead; the decoder
    // waits for the rest, so a long track is never decoded far ahead.
    void takeDecoded()
    {
        const qint64 aheadLimit = m_format.bytesForDuration(qint64(decodeAheadSeconds * 1e6));
        while (m_decoder && m_decoder->bufferAvailable() && m_device->bytesAhead() < aheadLimit) {
            const QAudioBuffer buffer = m_decoder->read();
            if (!buffer.isValid())
                break;
            if (buffer.format() != m_format) {
                giveUp();
                return;
            }
            appendWithinWindow(buffer);
        }
        if (m_device->bytesAhead() >= m_format.bytesForDuration(qint64(startAfterSeconds * 1e6)))
            startSink();
    }

    void appendWithinWindow(const QAudioBuffer &buffer)
    {
        const qint64 from = m_passFrames;
        m_passFrames += buffer.frameCount();
        const qint64 first = std::max(from, m_window.first);
        const qint64 end = std::min(m_passFrames, m_window.end);
        if (first >= end)
            return;
        const int frameBytes = m_format.bytesPerFrame();
        m_device->append(QByteArrayView(buffer.constData<char>() + (first - from) * frameBytes, (end - first) * frameBytes));
        m_passBytes += (end - first) * frameBytes;
    }

    void finishPass()
    {
        dropDecoder();
        if (m_passBytes < m_format.bytesPerFrame()) {
            giveUp();
            return;
        }
        const bool keptWhole = m_device->finishPass();
        startSink();
        if (!keptWhole)
            startPass();
    }

    void startSink()
    {
        if (m_sink)
            return;
        m_sink = std::make_unique<QAudioSink>(m_output, m_format);
        m_sink->setVolume(m_volume);
        m_sink->start(m_device.get());
    }

    void giveUp()
    {
        dropDecoder();
        if (m_sink)
            m_sink->stop();
        QMetaObject::invokeMethod(m_reports, [report = m_onUndecodable] { report(); }, Qt::QueuedConnection);
    }

    void dropDecoder()
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

    QObject *const m_reports; // on the owner's thread; outlives this one
    const std::function<void()> m_onUndecodable;
    const QAudioFormat m_format = loopFormat();
    QByteArray m_data; // the file, read again by every pass
    QAudioDevice m_output;
    float m_volume = 1.0f;
    SoundWindow m_window;
    QPointer<QAudioDecoder> m_decoder; // the current pass; a child
    qint64 m_passFrames = 0; // decoded in the current pass
    qint64 m_passBytes = 0;  // of them taken into the loop
    // Declared before the sink, destroyed after it: the sink reads from it until it stops.
    std::unique_ptr<LoopingPcmDevice> m_device;
    std::unique_ptr<QAudioSink> m_sink;
};

AmbientLoopOutput::AmbientLoopOutput(QByteArray data, float volume, QObject *reports,
                                     std::function<void()> onUndecodable, double keptTrackSeconds)
    : m_thread(QStringLiteral("ambient-loop"), std::make_unique<Playback>(reports, std::move(onUndecodable)))
{
    // Asked here so that the process-wide audio back end is set up by the GUI
    // thread, never by this short-lived one.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    m_thread.post([data = std::move(data), output, volume, keptTrackSeconds](Playback &playback) mutable {
        playback.start(std::move(data), output, volume, keptTrackSeconds);
    });
}

// The playback stops and goes on its own thread as the thread ends.
AmbientLoopOutput::~AmbientLoopOutput() = default;

void AmbientLoopOutput::setVolume(float volume)
{
    m_thread.post([volume](Playback &playback) { playback.setVolume(volume); });
}
