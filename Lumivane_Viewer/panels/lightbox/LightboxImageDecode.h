#pragma once

#include <QImage>
#include <QSize>
#include <QString>

/// An attachment image decoded for the lightbox, with the size of the file's
/// own picture (upright) so that a larger area can ask for more detail.
struct LightboxDecodedImage
{
    QImage image;    // null when the file gives no image
    QSize sourceSize;
};

/// Reads an image file upright at no more pixels than fit in `box` (device
/// pixels), letting the decoder skip the detail it would throw away; never
/// larger than the picture itself. Reentrant: runs on worker threads.
LightboxDecodedImage decodeLightboxImage(const QString &path, QSize box);
