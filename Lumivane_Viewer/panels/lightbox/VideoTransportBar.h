#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class L10n;
class QLabel;
class QSlider;
class SymbolButton;

/// "m:ss", or "h:mm:ss" from an hour on, of a time in milliseconds.
QString formatPlaybackTime(qint64 milliseconds);

/// The lightbox video's own controls: play/pause, a position slider, the
/// elapsed and total time, mute and volume. A dumb panel: state comes in
/// through setters, intent goes out through callbacks; it knows no player.
/// Its controls take the focus from Tab only, so after a click the viewer's
/// keys keep working.
class VideoTransportBar final : public QWidget
{
public:
    explicit VideoTransportBar(L10n &l10n, QWidget *parent = nullptr);

    void setPlaying(bool playing);
    void setDuration(qint64 milliseconds);
    void setPosition(qint64 milliseconds);
    void setVolume(float volume);
    void setMuted(bool muted);

    std::function<void()> onPlayPause;
    std::function<void(qint64)> onSeek;
    std::function<void(float)> onVolume;
    std::function<void()> onToggleMute;

private:
    void showTime();
    void retranslate();

    QPointer<L10n> m_l10n;
    SymbolButton *m_playPause = nullptr;
    QSlider *m_position = nullptr;
    QLabel *m_time = nullptr;
    SymbolButton *m_mute = nullptr;
    QSlider *m_volume = nullptr;
    qint64 m_duration = 0;
    qint64 m_shownPosition = 0;
    bool m_muted = false;
};
