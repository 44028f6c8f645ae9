#pragma once

#include <QString>
#include <QVector>

/// Sound files made for a test and measurements of recorded samples.
namespace SoundFixtures {

/// Peak of the sine tones below, as a fraction of full scale.
constexpr double toneAmplitude = 0.5;

/// Writes a sine tone with ffmpeg; the extension picks the format (.wav as
/// 16-bit PCM, .m4a as AAC, .mp3, .ogg as Vorbis, .flac). False when ffmpeg
/// is missing or fails.
bool writeTone(const QString &path, double seconds, int frequency = 441, int sampleRate = 44100);

/// Writes an MP4 movie (H.264 test pattern, 320x240 at 25 frames a second)
/// whose sound track is the sine tone above, in AAC. False when ffmpeg is
/// missing or fails.
bool writeToneVideo(const QString &path, double seconds, int frequency = 441);

/// Root mean square of samples, in sample units.
double rms(const QVector<qint16> &samples);
/// RMS of a full-scale-relative sine of the given peak.
double sineRms(double amplitude);
/// The longest run of near-silent samples between the first and the last
/// audible one, in milliseconds.
double longestGapMs(const QVector<qint16> &samples, int sampleRate);
/// The audible part: from the first to the last sample above the threshold.
QVector<qint16> audiblePart(const QVector<qint16> &samples);
/// Largest absolute sample.
int peak(const QVector<qint16> &samples);

} // namespace SoundFixtures
