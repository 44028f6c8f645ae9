#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

/// A floor plan ready to draw: the image decoded no wider than the panel
/// needs, and the width-to-height ratio of the plan as stored (1 when its
/// height is not positive).
struct FloorplanImage
{
    QImage image;
    double aspectRatio = 1;
};

/// Decodes plan bytes as the project's embedded pictures are decoded (see
/// EmbeddedPictures), at most `maxWidthPixels` wide; none when the bytes
/// give no picture.
std::optional<FloorplanImage> decodeFloorplan(const QByteArray &bytes, int maxWidthPixels);
