#pragma once

#include <QString>

#include <optional>

/// Reads the play length of an MP4/M4A file from its own header (the movie
/// header, else the first media header), without decoding anything. Gives
/// nothing for files that are not MP4 or whose header carries no length.
std::optional<double> mp4DurationSeconds(const QString &path);
