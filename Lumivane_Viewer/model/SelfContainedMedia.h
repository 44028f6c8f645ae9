#pragma once

#include <QString>

class QIODevice;

/// Whether a package's sound or movie holds what it plays itself, judged by
/// its content past any ID3 tags in front: MPEG audio or ADTS AAC frames, a
/// WAV, AIFF, CAF, FLAC or Ogg stream, or an MP4/QuickTime movie with a sound
/// or picture track and every byte of it inside the file. Playlists,
/// streaming manifests, reference movies and whatever else is refused: a
/// player or the desktop would fetch what they name. Knows nothing of names
/// or extensions. Reads from the device's start; a sequential one is refused.
bool isSelfContainedMedia(QIODevice &device);

/// The same for a local file; false when it cannot be read.
bool isSelfContainedMediaFile(const QString &path);
