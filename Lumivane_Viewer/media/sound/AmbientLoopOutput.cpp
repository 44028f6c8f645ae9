#include "AmbientLoopOutput.h"

#include "LoopingPcmDevice.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

#include <memory>

// The sink and its device, created, used and destroyed on the output thread only.
class AmbientLoopOutput::Playback final : public QObject
{
public:
    ~Playback() override
    {
        if (m_sink)
            m_sink->stop();
    }

    void start(QByteArray pcm, const QAudioDevice &output, const QAudioFormat &format, float volume)
    {
        m_device = std::make_unique<LoopingPcmDevice>(std::move(pcm), format.bytesPerFrame());
        m_device->open(QIODevice::ReadOnly);
        m_sink = std::make_unique<QAudioSink>(output, format);
        m_sink->setVolume(volume);
        m_sink->start(m_device.get());
    }

    void setVolume(float volume)
    {
        if (m_sink)
            m_sink->setVolume(volume);
    }

private:
    // Declared first, destroyed last: the sink reads from it until it stops.
    std::unique_ptr<LoopingPcmDevice> m_device;
    std::unique_ptr<QAudioSink> m_sink;
};

AmbientLoopOutput::AmbientLoopOutput(QByteArray pcm, const QAudioFormat &format, float volume)
    : m_thread(QStringLiteral("ambient-loop"), std::make_unique<Playback>())
{
    // Asked here so that the process-wide audio back end is set up by the GUI
    // thread, never by this short-lived one.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    m_thread.post([pcm = std::move(pcm), output, format, volume](Playback &playback) mutable {
        playback.start(std::move(pcm), output, format, volume);
    });
}

// The playback stops and goes on its own thread as the thread ends.
AmbientLoopOutput::~AmbientLoopOutput() = default;

void AmbientLoopOutput::setVolume(float volume)
{
    m_thread.post([volume](Playback &playback) { playback.setVolume(volume); });
}
