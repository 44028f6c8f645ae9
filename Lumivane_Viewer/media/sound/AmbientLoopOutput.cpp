#include "AmbientLoopOutput.h"

#include "LoopingPcmDevice.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>

struct AmbientLoopOutput::Playback
{
    // Created, used and destroyed on the output thread only.
    std::unique_ptr<LoopingPcmDevice> device;
    std::unique_ptr<QAudioSink> sink;
};

AmbientLoopOutput::AmbientLoopOutput(QByteArray pcm, const QAudioFormat &format, float volume)
    : m_playback(std::make_shared<Playback>())
{
    // Asked here so that the process-wide audio back end is set up by the GUI
    // thread, never by this short-lived one.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    m_thread.setObjectName(QStringLiteral("ambient-loop"));
    m_context.moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(&m_context,
        [playback = m_playback, pcm = std::move(pcm), output, format, volume]() mutable {
            playback->device = std::make_unique<LoopingPcmDevice>(std::move(pcm), format.bytesPerFrame());
            playback->device->open(QIODevice::ReadOnly);
            playback->sink = std::make_unique<QAudioSink>(output, format);
            playback->sink->setVolume(volume);
            playback->sink->start(playback->device.get());
        });
}

AmbientLoopOutput::~AmbientLoopOutput()
{
    // Posted work runs in order: the sink stops on its own thread, then the
    // thread's loop ends.
    QMetaObject::invokeMethod(&m_context, [playback = m_playback] {
        if (playback->sink)
            playback->sink->stop();
        playback->sink.reset();
        playback->device.reset();
        QThread::currentThread()->quit();
    });
    m_thread.wait();
}

void AmbientLoopOutput::setVolume(float volume)
{
    QMetaObject::invokeMethod(&m_context, [playback = m_playback, volume] {
        if (playback->sink)
            playback->sink->setVolume(volume);
    });
}
