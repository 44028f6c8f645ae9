#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>
#include <optional>

class AmbientLoopOutput;

/// Loops a tour's ambient sound, handed over as the bytes of an audio file,
/// without end and without a gap at the wrap, at a fixed moderate volume, with
/// a mute switch that survives restarts. One per viewer; knows nothing of the
/// project. Used from the main thread; the sound is decoded and played on a
/// thread of its own, and a long track is never held whole in memory.
class LumivaneAmbientPlayer final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(bool isMuted READ isMuted WRITE setMuted NOTIFY isMutedChanged)

public:
    explicit LumivaneAmbientPlayer(QObject *parent = nullptr);
    /// Stops the loop first.
    ~LumivaneAmbientPlayer() override;

    /// Starts a new loop from the start of the bytes; no bytes stop the loop.
    /// Bytes that are no audio file leave the player stopped, at once when
    /// their kind is unknown or they name sound elsewhere (a playlist, a
    /// reference movie), once the decoder gives up otherwise.
    void play(const std::optional<QByteArray> &data);
    void stop();

    /// True from a play() with audio bytes until stop(), no bytes, or bytes
    /// found undecodable.
    bool isPlaying() const { return m_output != nullptr; }
    bool isMuted() const { return m_isMuted; }
    /// Silences or restores the loop at once; kept for the next play().
    void setMuted(bool muted);
    /// The loop's linear gain when not muted.
    float volume() const { return m_volume; }
    /// Tracks up to this length are decoded once and looped from memory;
    /// longer ones are decoded again for each pass. Applies from the next play().
    void setLongestTrackKeptWhole(double seconds) { m_keptTrackSeconds = seconds; }

signals:
    void isPlayingChanged(bool isPlaying);
    void isMutedChanged(bool isMuted);

private:
    void failToDecode(quint64 loop);
    void publishIsPlaying();
    float outputVolume() const;

    std::unique_ptr<AmbientLoopOutput> m_output;
    quint64 m_loop = 0; // counts the loops started, to drop a replaced one's reports
    double m_keptTrackSeconds;
    bool m_isMuted = false;
    const float m_volume = 0.6f;
};
