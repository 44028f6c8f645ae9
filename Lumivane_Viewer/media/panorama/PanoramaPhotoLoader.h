#pragma once

#include <QFuture>
#include <QImage>
#include <QUrl>

/// Decodes panorama photos on the image cache's pool and stores them in its
/// full-image store. Two requests for a photo whose decode is still running
/// share that decode, so several views showing one photo decode it once.
/// Call from the GUI thread.
class PanoramaPhotoLoader final
{
public:
    /// The decode of `url`, started now or already running; its result is a
    /// null image when the file is missing or not an image.
    static QFuture<QImage> load(const QUrl &url);
};
