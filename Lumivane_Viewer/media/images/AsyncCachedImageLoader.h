#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class LumivaneImageCache;

/// Hands the photo of a file URL, or nothing while it loads or when it is
/// missing, to its owner: from the full-image store at once, or after a
/// background decode on the image cache's pool. Never reads a file on the GUI
/// thread. A result for a URL that is no longer current is dropped.
class AsyncCachedImageLoader final : public QObject
{
public:
    /// `bound`: the most pixels the owner shows a photo at; a photo is
    /// decoded no larger (see LumivaneImageCache::image).
    AsyncCachedImageLoader(std::shared_ptr<LumivaneImageCache> cache, QSize bound, QObject *parent = nullptr);

    /// Starts a load for the new URL; the same URL again does nothing.
    void setUrl(const std::optional<QUrl> &url);
    std::optional<QUrl> url() const { return m_url; }
    /// The image handed over last; null while none is available.
    QImage image() const { return m_image; }

    /// Called on every change of image(), with a null image for "nothing".
    std::function<void(const QImage &)> onImageChanged;
    /// Called each time an image is handed over.
    std::function<void(const QImage &)> onImageLoaded;

private:
    void load();
    void setImage(const QImage &image);
    void handOver(const QImage &image);

    std::shared_ptr<LumivaneImageCache> m_cache;
    const QSize m_bound;
    std::optional<QUrl> m_url;
    QImage m_image;
    quint64 m_generation = 0;
};
