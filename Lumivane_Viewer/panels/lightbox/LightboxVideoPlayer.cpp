#include "LightboxVideoPlayer.h"

#include "VideoFrameView.h"
#include "VideoTransportBar.h"

#include "model/SelfContainedMedia.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVBoxLayout>
#include <QVideoSink>

namespace {

constexpr int videoPadding = 8;

} // namespace

LightboxVideoPlayer::LightboxVideoPlayer(QUrl url, L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_url(std::move(url))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_sink = new QVideoSink(this);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_sink);

    m_frames = new VideoFrameView(this);
    m_controls = new VideoTransportBar(l10n, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(videoPadding, videoPadding, videoPadding, videoPadding);
    layout->setSpacing(0);
    layout->addWidget(m_frames, 1);
    layout->addWidget(m_controls);

    connectControls();
    m_controls->setVolume(m_audio->volume());
    m_controls->setMuted(m_audio->isMuted());
    load();
}

LightboxVideoPlayer::~LightboxVideoPlayer()
{
    release();
}

void LightboxVideoPlayer::connectControls()
{
    connect(m_sink, &QVideoSink::videoFrameChanged, m_frames, &VideoFrameView::setFrame);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        m_controls->setPlaying(state == QMediaPlayer::PlayingState);
    });
    connect(m_player, &QMediaPlayer::durationChanged, m_controls, &VideoTransportBar::setDuration);
    connect(m_player, &QMediaPlayer::positionChanged, m_controls, &VideoTransportBar::setPosition);
    connect(m_audio, &QAudioOutput::mutedChanged, m_controls, &VideoTransportBar::setMuted);
    m_controls->onPlayPause = [this] {
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        else
            m_player->play();
    };
    m_controls->onSeek = [this](qint64 position) { m_player->setPosition(position); };
    m_controls->onVolume = [this](float volume) { m_audio->setVolume(volume); };
    m_controls->onToggleMute = [this] { m_audio->setMuted(!m_audio->isMuted()); };
}

void LightboxVideoPlayer::load()
{
    // A movie that names data elsewhere (a reference movie, a playlist) would
    // have the player fetch it: such a file shows as an unplayable one.
    if (!m_player->source().isEmpty() || !isSelfContainedMediaFile(m_url.toLocalFile()))
        return;
    m_player->setSource(m_url);
    // Paused at the start, the player shows the first picture and plays nothing.
    m_player->pause();
}

void LightboxVideoPlayer::release()
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_frames->clear();
    m_controls->setPosition(0);
}

void LightboxVideoPlayer::showEvent(QShowEvent *)
{
    load();
}

void LightboxVideoPlayer::hideEvent(QHideEvent *)
{
    release();
}
