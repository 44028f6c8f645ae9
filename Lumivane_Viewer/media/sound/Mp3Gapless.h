#pragma once

#include <QByteArray>

#include <optional>

/// Where the sound of an MP3 file lies among the samples its decoder puts
/// out, as the encoder recorded it in the file's first frame (the Xing/Info
/// tag with its LAME extension). A decoder also puts out the encoder's delay
/// before the sound and its padding after it: silence that a loop must cut
/// to run without a gap.
struct Mp3Gapless
{
    int sampleRate = 0;
    qint64 leadingSamples = 0; // silence before the sound, per channel
    qint64 soundSamples = 0;   // the sound itself, per channel
};

/// Nothing for bytes that are no MP3 file or carry no such tag.
std::optional<Mp3Gapless> mp3Gapless(const QByteArray &data);
