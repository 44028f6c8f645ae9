#pragma once

#include <QByteArrayView>

/// Whether bytes start like one of the containers and streams the desktop's
/// audio player opens (WAV, AIFF, MP4/M4A, CAF, MP3, ADTS AAC, FLAC, Ogg).
/// Lets the players refuse any other bytes at once, rather than announce
/// them as playing until the decoder gives up on them. The first 12 bytes
/// are enough.
bool hasAudioSignature(QByteArrayView head);
