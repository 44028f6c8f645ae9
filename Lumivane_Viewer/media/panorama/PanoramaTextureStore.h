#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>

#include <utility>

#include <deque>
#include <mutex>
#include <functional>
#include <memory>
#include <vector>

class QOpenGLContext;
class QOpenGLContextGroup;
class QOffscreenSurface;
class LumivaneImageCache;
class PanoramaSpareImage;
class PanoramaTextureUploader;
class PanoramaTextureStore;
template <typename Worker>
class WorkerThread;

/// One panorama photo uploaded into a shared context group as GL textures
/// with mipmaps, one per horizontal strip (PanoramaStrips). Deleting the last
/// reference deletes the textures on the store's upload thread; the store
/// deletes whatever is left when it goes.
class PanoramaTexture final
{
public:
    PanoramaTexture(std::weak_ptr<PanoramaTextureStore> store, std::vector<unsigned> ids, QSize size);
    ~PanoramaTexture();
    PanoramaTexture(const PanoramaTexture &) = delete;
    PanoramaTexture &operator=(const PanoramaTexture &) = delete;

    /// The strip textures, top to bottom.
    const std::vector<unsigned> &ids() const { return m_ids; }
    QSize size() const { return m_size; }
    /// Hands the GL textures over to a new owner; this object then deletes nothing.
    std::vector<unsigned> takeIds() { return std::exchange(m_ids, {}); }

private:
    std::weak_ptr<PanoramaTextureStore> m_store;
    std::vector<unsigned> m_ids;
    QSize m_size;
};

/// Uploads panorama photos into the GL context group of the views that show
/// them, on a thread of its own with a shared context, so that the GUI thread
/// never blocks on a large upload or on mipmap generation. One store per
/// context group: several views showing one photo share one texture, and two
/// requests for the same photo share one upload. Photos larger than the GPU
/// allows are scaled down to the largest size it takes. GUI thread only.
class PanoramaTextureStore final : public QObject, public std::enable_shared_from_this<PanoramaTextureStore>
{
    Q_OBJECT

public:
    using Ready = std::function<void(std::shared_ptr<PanoramaTexture>)>;

    /// The store of the group of `context` (a current or created context of
    /// a view), made on first use.
    static std::shared_ptr<PanoramaTextureStore> forContext(QOpenGLContext *context);
    ~PanoramaTextureStore() override;

    /// The texture of `key` when it is already on the GPU.
    std::shared_ptr<PanoramaTexture> resident(const QString &key) const;
    /// Uploads `image` under `key` (or joins an upload in flight) and calls
    /// `ready` on the GUI thread unless `receiver` is gone by then. A null
    /// texture is handed over when the upload failed.
    void upload(const QString &key, const QImage &image, QObject *receiver, Ready ready);
    /// Reads the photo file of `url` on the image cache's pool, keeps it in
    /// `cache` and uploads it under `key`, band by band while it decodes when
    /// it is a JPEG. Calls `ready` like upload(), with a null texture when the
    /// file gives no image.
    void decodeAndUpload(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url, const QString &key,
                         QObject *receiver, Ready ready);

    /// Deletes textures on the upload thread; called by PanoramaTexture.
    void release(std::vector<unsigned> ids);

    /// How many recently shown textures stay resident when no view shows them.
    static constexpr std::size_t recentTextureCount = 2;

private:
    using UploadThread = WorkerThread<PanoramaTextureUploader>;

    /// What a background decode may reach of the store. Cleared when the
    /// store goes, so that a decode still queued or running then posts
    /// nothing and closing a view never waits for one.
    struct Link
    {
        using Call = std::function<void(PanoramaTextureUploader &, PanoramaTextureStore &)>;
        /// Runs `call` on the upload thread while the store lives.
        void post(Call call);
        void cut();

        std::mutex mutex;
        PanoramaTextureStore *store = nullptr;
        UploadThread *upload = nullptr;
    };
    class BandUpload;

    struct Waiter
    {
        QPointer<QObject> receiver;
        Ready ready;
    };

    explicit PanoramaTextureStore(QOpenGLContext *shareContext);
    /// The oldest recently shown photo that no view shows any more, taken
    /// out of the store for its storage to be reused.
    std::pair<std::vector<unsigned>, QSize> takeRecyclable();
    /// Queues `ready`; true when no upload of `key` is under way yet.
    bool wait(const QString &key, QObject *receiver, Ready ready);
    void postResult(const QString &key, std::vector<unsigned> ids, QSize size);
    void finishUpload(const QString &key, std::vector<unsigned> ids, QSize size);

    QOffscreenSurface *m_surface = nullptr;
    /// Ends after the work posted to it, and deletes every texture it made.
    std::unique_ptr<UploadThread> m_upload;
    int m_maxTextureSize = 0;
    QHash<QString, std::weak_ptr<PanoramaTexture>> m_textures;
    QHash<QString, std::vector<Waiter>> m_waiting;
    std::deque<std::shared_ptr<PanoramaTexture>> m_recent;
    std::shared_ptr<Link> m_link = std::make_shared<Link>();
    /// The decodes' next buffer: goes with the store when the last view closes.
    std::shared_ptr<PanoramaSpareImage> m_spare;
};
