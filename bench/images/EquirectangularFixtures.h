#pragma once

#include <QString>

/// Writes (once) an equirectangular JPEG of the given width, twice as wide as
/// high, quality 90, looking like a room photo: sky, walls with openings,
/// floor and a little sensor noise. Returns its path.
QString equirectangularJpeg(int width);
