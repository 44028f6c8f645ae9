#pragma once

#include <QFuture>
#include <QImage>
#include <QUrl>

#include <memory>

class LumivaneImageCache;

/// Decodes panorama photos on the image cache's pool and keeps them in the
/// cache it is handed. Two requests for a photo whose decode into the same
/// cache is still running share that decode, so several views showing one
/// photo decode it once. Call from the GUI thread.
class PanoramaPhotoLoader final
{
public:
    /// The decode of `url`, started now or already running; its result is a
    /// null image when the file is missing or not an image.
    static QFuture<QImage> load(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url);
};
