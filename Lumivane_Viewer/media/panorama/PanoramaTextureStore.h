#pragma once

#include "PanoramaTexture.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QOpenGLContext;
class QOffscreenSurface;
class LumivaneImageCache;
class PanoramaPhotoUpload;
class PanoramaTextureUploader;
template <typename Worker>
class WorkerThread;

/// Uploads panorama photos into the GL context group of the views that show
/// them, on a thread of its own with a shared context, so that the GUI thread
/// never blocks on a large upload or on mipmap generation. One store per
/// context group: several views showing one photo share one texture, and two
/// requests for the same photo share one upload. A large photo comes as a
/// preview first, then strip by strip at full resolution. Photos larger than
/// the GPU allows are scaled down to the largest size it takes. Textures that
/// no view shows stay on the GPU within a byte budget. GUI thread only.
class PanoramaTextureStore final : public QObject, public std::enable_shared_from_this<PanoramaTextureStore>
{
    Q_OBJECT

public:
    /// A photo as far as it has reached the GPU.
    struct Photo
    {
        /// The photo at full resolution, its strips filled in as they arrive;
        /// null until the first one, and at the end when the photo gives none.
        std::shared_ptr<PanoramaTexture> texture;
        /// A reduced copy of the photo, shown where strips are still missing.
        std::shared_ptr<PanoramaTexture> preview;
        /// Nothing more will come.
        bool done = false;
    };
    using Progress = std::function<void(const Photo &)>;

    /// Bytes of textures that no view shows and that stay on the GPU for the
    /// next time they are shown. An 8K photo takes more on its own, so going
    /// back and forth between two such photos uploads them again: it never
    /// holds two photos' textures where one view shows one photo.
    static constexpr qint64 residentByteBudget = qint64(128) << 20;

    /// The store of the group of `context` (a view's context, or the
    /// application's global share context), made on first use.
    static std::shared_ptr<PanoramaTextureStore> forContext(QOpenGLContext *context);
    ~PanoramaTextureStore() override;

    /// The largest texture side the GPU takes (GL_MAX_TEXTURE_SIZE), asked
    /// once per process of a context of its own; 0 without OpenGL. GUI thread.
    static int textureSizeLimit();

    /// The whole texture of `key` when it is already on the GPU.
    std::shared_ptr<PanoramaTexture> resident(const QString &key);
    /// Uploads `image` under `key` (or joins an upload in flight) and calls
    /// `progress` on the GUI thread, unless `receiver` is gone by then, with
    /// every step: at once with what has arrived of an upload in flight, then
    /// the preview, the strips, and the end.
    void upload(const QString &key, const QImage &image, QObject *receiver, Progress progress);
    /// Reads the photo file of `url` on the image cache's pool, keeps it in
    /// `cache` and uploads it under `key` like upload(), band by band while it
    /// decodes when it is a JPEG.
    void decodeAndUpload(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url, const QString &key,
                         QObject *receiver, Progress progress);

    /// Deletes textures on the upload thread; called by PanoramaTexture.
    void release(std::vector<unsigned> ids);

private:
    using UploadThread = WorkerThread<PanoramaTextureUploader>;

    /// What a background decode may reach of the store. Cleared when the
    /// store goes, so that a decode still queued or running then posts
    /// nothing and closing a view never waits for one.
    struct Link
    {
        using Call = std::function<void(PanoramaTextureUploader &)>;
        /// Runs `call` on the upload thread while the store lives.
        void post(Call call);
        void cut();

        std::mutex mutex;
        UploadThread *upload = nullptr;
    };
    class DecodeSink;

    struct Waiter
    {
        QPointer<QObject> receiver;
        Progress progress;
    };

    /// A photo on its way, and who waits for it.
    struct Loading
    {
        std::shared_ptr<PanoramaPhotoUpload> upload;
        Photo photo;
        std::vector<Waiter> waiters;
    };

    explicit PanoramaTextureStore(QOpenGLContext *shareContext);
    /// Adds a waiter for `key`; true when no upload of it is under way yet.
    bool join(const QString &key, QObject *receiver, Progress progress);
    std::shared_ptr<PanoramaPhotoUpload> startUpload(const QString &key, bool previewComing);
    void tell(const Loading &loading);

    void showPreview(const QString &key, unsigned id, QSize previewSize, QSize photoSize);
    void addStrip(const QString &key, QSize size, int strip, unsigned id);
    void restart(const QString &key);
    void finishUpload(const QString &key, bool complete);

    /// Lets the oldest textures that no view shows go until the rest fit the
    /// budget; hands back the storage of one of `reusableSize` for reuse.
    std::pair<std::vector<unsigned>, QSize> trimResident(QSize reusableSize);

    QOffscreenSurface *m_surface = nullptr;
    /// Ends after the work posted to it, and deletes every texture it made.
    std::unique_ptr<UploadThread> m_upload;
    int m_maxTextureSize = 0;
    QHash<QString, std::weak_ptr<PanoramaTexture>> m_textures;
    QHash<QString, Loading> m_loading;
    /// Whole textures, least recently shown first.
    std::deque<std::shared_ptr<PanoramaTexture>> m_recent;
    std::shared_ptr<Link> m_link = std::make_shared<Link>();
};
