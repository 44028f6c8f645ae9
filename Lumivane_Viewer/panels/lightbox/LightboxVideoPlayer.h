#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class L10n;
class QAudioOutput;
class QMediaPlayer;
class QVideoSink;
class VideoFrameView;
class VideoTransportBar;

/// A movie attachment with its own controls, 8 px in from the edges. It never
/// starts by itself: the visitor plays it. Its frames are painted as an
/// ordinary widget. Playback stops and the file is let go as soon as the
/// view is released, hidden or destroyed, so nothing goes on playing unseen;
/// shown again, it loads the file anew. A file that does not hold its movie
/// itself (isSelfContainedMedia) never reaches the player.
class LightboxVideoPlayer final : public QWidget
{
public:
    LightboxVideoPlayer(QUrl url, L10n &l10n, QWidget *parent = nullptr);
    ~LightboxVideoPlayer() override;

    /// Stops playback and drops the file.
    void release();

    QMediaPlayer *player() const { return m_player; }
    QAudioOutput *audioOutput() const { return m_audio; }
    VideoFrameView *frameView() const { return m_frames; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void connectControls();
    void load();

    QUrl m_url;
    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
    QVideoSink *m_sink = nullptr;
    VideoFrameView *m_frames = nullptr;
    VideoTransportBar *m_controls = nullptr;
};
