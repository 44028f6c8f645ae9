#pragma once

#include <QMediaPlayer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QUuid>

#include <initializer_list>

/// Plays the narration of a station: one audio file at a time, once through,
/// at full volume, and publishes whether it plays, where it is and how long it
/// is. Knows nothing of stations or languages: the viewer hands it file URLs.
/// Main thread only; prints nothing: failures show only in play()'s result and
/// in the published values.
class LumivaneAudioService final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double playbackTime READ playbackTime NOTIFY playbackTimeChanged)
    Q_PROPERTY(double playbackDuration READ playbackDuration NOTIFY playbackDurationChanged)

public:
    explicit LumivaneAudioService(QObject *parent = nullptr);
    ~LumivaneAudioService() override;

    /// The application's one narration player, created on first use and owned
    /// by the application object.
    static LumivaneAudioService &shared();

    /// Stops whatever plays, then plays the local file once from its start.
    /// True when playback started. A file of no audio kind, or one that names
    /// sound elsewhere (a playlist, a reference movie), is refused at once;
    /// one whose body the decoder finds undecodable later moves the service
    /// back to not playing.
    bool play(const QUrl &url);
    /// Stops and forgets the current file; publishes every value, also when
    /// nothing played.
    void stopPlayback();

    bool isPlaying() const { return m_isPlaying; }
    double playbackTime() const { return m_playbackTime; }
    /// Seconds; known at once for MP4/M4A files, for other files as soon as the
    /// decoder reports it; kept after a natural end, 0 after a stop.
    double playbackDuration() const { return m_playbackDuration; }

    /// The project's narration folder under the user's Documents folder,
    /// created when missing (a failure to create it is ignored).
    static QUrl audioFolder(const QUuid &projectID);

signals:
    // Every assignment is announced, also when the value does not change.
    void isPlayingChanged(bool isPlaying);
    void playbackTimeChanged(double seconds);
    void playbackDurationChanged(double seconds);

private:
    enum class Value { isPlaying, playbackTime, playbackDuration };
    /// Emits the values' signals in the given order, with the values as they
    /// are now. Every state change is set in full before it is announced.
    void announce(std::initializer_list<Value> values);

    QMediaPlayer *startPlayer(const QUrl &url);
    void watchPlayer(QMediaPlayer *player);
    void releasePlayer();
    static void retirePlayer(QMediaPlayer *player);
    void startProgressTimer();
    void sampleProgress();
    void finishNaturally();

    QPointer<QMediaPlayer> m_player; // current or last finished file; a child
    QTimer m_progressTimer;
    bool m_isPlaying = false;
    double m_playbackTime = 0.0;
    double m_playbackDuration = 0.0;
    quint64 m_stateChange = 0; // counts announcements, to notice nested ones
};
