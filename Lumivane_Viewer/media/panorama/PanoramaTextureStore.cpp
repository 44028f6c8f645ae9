#include "PanoramaTextureStore.h"

#include "PanoramaPhotoDecode.h"
#include "PanoramaSpareImage.h"
#include "PanoramaTextureUploader.h"

#include "media/images/LumivaneImageCache.h"
#include "threads/WorkerThread.h"

#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QThread>
#include <QThreadPool>

namespace {

// One store per context group, dropped when its last user lets go.
QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> &registry()
{
    static QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> stores;
    return stores;
}

} // namespace

PanoramaTexture::PanoramaTexture(std::weak_ptr<PanoramaTextureStore> store, std::vector<unsigned> ids, QSize size)
    : m_store(std::move(store))
    , m_ids(std::move(ids))
    , m_size(size)
{
}

PanoramaTexture::~PanoramaTexture()
{
    if (m_ids.empty())
        return;
    if (auto store = m_store.lock())
        store->release(std::move(m_ids));
}

std::shared_ptr<PanoramaTextureStore> PanoramaTextureStore::forContext(QOpenGLContext *context)
{
    QOpenGLContextGroup *group = context->shareGroup();
    if (auto existing = registry().value(group).lock())
        return existing;
    auto store = std::shared_ptr<PanoramaTextureStore>(new PanoramaTextureStore(context));
    registry().insert(group, store);
    // The store's own context keeps the group alive; a recycled address can
    // only come after the store is gone.
    return store;
}

PanoramaTextureStore::PanoramaTextureStore(QOpenGLContext *shareContext)
    : m_spare(std::make_shared<PanoramaSpareImage>())
{
    // The views make their store while their context is current.
    shareContext->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maxTextureSize);
    if (m_maxTextureSize <= 0)
        m_maxTextureSize = 2048;
    m_surface = new QOffscreenSurface(nullptr, this);
    m_surface->setFormat(shareContext->format());
    m_surface->create();
    m_upload = std::make_unique<UploadThread>(QStringLiteral("panorama-texture-upload"),
                                              std::make_unique<PanoramaTextureUploader>(shareContext, m_surface));
    m_link->store = this;
    m_link->upload = m_upload.get();
}

PanoramaTextureStore::~PanoramaTextureStore()
{
    // The uploader deletes every texture it made when its thread ends.
    m_recent.clear();
    // Decodes on the pool post to the uploader and to this store.
    m_link->cut();
    for (auto it = registry().begin(); it != registry().end();) {
        if (it->expired())
            it = registry().erase(it);
        else
            ++it;
    }
}

std::shared_ptr<PanoramaTexture> PanoramaTextureStore::resident(const QString &key) const
{
    return m_textures.value(key).lock();
}

void PanoramaTextureStore::Link::post(Call call)
{
    const std::lock_guard lock(mutex);
    if (!upload)
        return;
    upload->post([store = store, call = std::move(call)](PanoramaTextureUploader &uploader) { call(uploader, *store); });
}

void PanoramaTextureStore::Link::cut()
{
    const std::lock_guard lock(mutex);
    store = nullptr;
    upload = nullptr;
}

// A decode's photo on its way to the upload thread. Everything goes through
// the link, in order on the upload thread; textures it began are the
// uploader's to delete should the store go first.
class PanoramaTextureStore::BandUpload final : public PanoramaPhotoDecode::Sink
{
public:
    using Uploader = PanoramaTextureUploader;

    BandUpload(std::shared_ptr<Link> link, QString key, Uploader::Result recycled)
        : m_link(std::move(link))
        , m_key(std::move(key))
        , m_recycled(std::move(recycled))
    {
    }

    void begin(QSize size) override
    {
        m_began = true;
        m_link->post([job = m_job, size, recycled = m_recycled](Uploader &uploader, PanoramaTextureStore &) {
            uploader.begin(*job, size, recycled);
        });
    }

    void addBand(const QImage &image, int y, int rows) override
    {
        m_link->post([job = m_job, image, y, rows](Uploader &uploader, PanoramaTextureStore &) {
            uploader.addBand(*job, y, image.constScanLine(y), rows, image.bytesPerLine());
        });
    }

    void finish() override
    {
        m_link->post([job = m_job, key = m_key](Uploader &uploader, PanoramaTextureStore &store) {
            const Uploader::Result result = uploader.finish(*job);
            store.postResult(key, result.ids, result.size);
        });
    }

    void abort() override
    {
        m_link->post([job = m_job](Uploader &uploader, PanoramaTextureStore &) { uploader.abort(*job); });
    }

    void whole(const QImage &image) override
    {
        // A recycled texture that an aborted band upload began with is gone.
        const Uploader::Result reuse = m_began ? Uploader::Result{} : m_recycled;
        m_link->post([key = m_key, image, reuse](Uploader &uploader, PanoramaTextureStore &store) {
            const Uploader::Result result = uploader.upload(image, reuse);
            store.postResult(key, result.ids, result.size);
        });
    }

private:
    const std::shared_ptr<Link> m_link;
    const QString m_key;
    const Uploader::Result m_recycled;
    const std::shared_ptr<Uploader::Job> m_job = std::make_shared<Uploader::Job>();
    bool m_began = false;
};

bool PanoramaTextureStore::wait(const QString &key, QObject *receiver, Ready ready)
{
    auto &waiters = m_waiting[key];
    waiters.push_back({receiver, std::move(ready)});
    return waiters.size() == 1;
}

void PanoramaTextureStore::postResult(const QString &key, std::vector<unsigned> ids, QSize size)
{
    // Called from other threads. The answer is posted to the store's own
    // thread; should the store be deleted first, the posted call is dropped.
    PanoramaTextureStore *store = this;
    QMetaObject::invokeMethod(store, [store, key, ids = std::move(ids), size] { store->finishUpload(key, ids, size); });
}

void PanoramaTextureStore::upload(const QString &key, const QImage &image, QObject *receiver, Ready ready)
{
    if (auto texture = resident(key)) {
        ready(std::move(texture));
        return;
    }
    if (!wait(key, receiver, std::move(ready)))
        return;
    const auto [recycledIds, recycledSize] = takeRecyclable();
    const PanoramaTextureUploader::Result recycled{recycledIds, recycledSize};
    // The upload thread drains its work before the store finishes going.
    m_upload->post([store = this, key, image, recycled](PanoramaTextureUploader &uploader) {
        const PanoramaTextureUploader::Result result = uploader.upload(image, recycled);
        store->postResult(key, result.ids, result.size);
    });
}

void PanoramaTextureStore::decodeAndUpload(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url,
                                           const QString &key, QObject *receiver, Ready ready)
{
    if (!wait(key, receiver, std::move(ready)))
        return;
    const auto [recycledIds, recycledSize] = takeRecyclable();
    const PanoramaTextureUploader::Result recycled{recycledIds, recycledSize};
    const int maxSide = m_maxTextureSize;
    auto task = [link = m_link, spare = m_spare, cache = std::move(cache), url, key, recycled, maxSide] {
        BandUpload sink(link, key, recycled);
        PanoramaPhotoDecode::decodeInto(sink, url, *cache, maxSide, spare.get());
    };
    LumivaneImageCache::pool()->start(task, LumivaneImageCache::utilityPriority);
}

std::pair<std::vector<unsigned>, QSize> PanoramaTextureStore::takeRecyclable()
{
    // Only a photo that the new one would push out of the recent list anyway.
    if (m_recent.size() < recentTextureCount)
        return {{}, QSize()};
    for (auto it = m_recent.begin(); it != m_recent.end(); ++it) {
        if (it->use_count() == 1) {
            const std::shared_ptr<PanoramaTexture> texture = *it;
            m_recent.erase(it);
            m_textures.removeIf([&texture](const auto &entry) { return entry.value().lock() == texture; });
            return {texture->takeIds(), texture->size()};
        }
    }
    return {{}, QSize()};
}

void PanoramaTextureStore::finishUpload(const QString &key, std::vector<unsigned> ids, QSize size)
{
    std::shared_ptr<PanoramaTexture> texture;
    if (!ids.empty()) {
        texture = std::make_shared<PanoramaTexture>(weak_from_this(), std::move(ids), size);
        m_textures.insert(key, texture);
        m_recent.push_back(texture);
        while (m_recent.size() > recentTextureCount)
            m_recent.pop_front();
    }
    const std::vector<Waiter> waiters = m_waiting.take(key);
    for (const Waiter &waiter : waiters) {
        if (waiter.receiver)
            waiter.ready(texture);
    }
}

void PanoramaTextureStore::release(std::vector<unsigned> ids)
{
    m_upload->post([ids = std::move(ids)](PanoramaTextureUploader &uploader) { uploader.deleteTextures(ids); });
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (it->expired())
            it = m_textures.erase(it);
        else
            ++it;
    }
}
