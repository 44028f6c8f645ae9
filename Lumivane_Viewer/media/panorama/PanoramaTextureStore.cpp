#include "PanoramaTextureStore.h"

#include "PanoramaPhotoDecode.h"
#include "PanoramaPhotoUpload.h"
#include "PanoramaStrips.h"
#include "PanoramaTextureUploader.h"

#include "media/images/LumivaneImageCache.h"
#include "threads/WorkerThread.h"

#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QThreadPool>

#include <algorithm>

namespace {

// One store per context group, dropped when its last user lets go.
QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> &registry()
{
    static QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> stores;
    return stores;
}

// A view's context is current when it makes its store; the global share
// context, which a view asks for before it has a context of its own, is
// made current on the store's surface for the question.
int maxTextureSize(QOpenGLContext *context, QOffscreenSurface *surface)
{
    QOpenGLContext *current = QOpenGLContext::currentContext();
    const bool borrow = current != context;
    QSurface *previousSurface = current ? current->surface() : nullptr;
    if (borrow && !context->makeCurrent(surface))
        return 0;
    int size = 0;
    context->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    if (borrow) {
        context->doneCurrent();
        if (current)
            current->makeCurrent(previousSurface);
    }
    return size;
}

} // namespace

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

int PanoramaTextureStore::textureSizeLimit()
{
    static const int limit = [] {
        QOpenGLContext context;
        context.setFormat(QSurfaceFormat::defaultFormat());
        if (!context.create())
            return 0;
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        return maxTextureSize(&context, &surface);
    }();
    return limit;
}

PanoramaTextureStore::PanoramaTextureStore(QOpenGLContext *shareContext)
{
    m_surface = new QOffscreenSurface(nullptr, this);
    m_surface->setFormat(shareContext->format());
    m_surface->create();
    m_maxTextureSize = maxTextureSize(shareContext, m_surface);
    if (m_maxTextureSize <= 0)
        m_maxTextureSize = 2048;
    m_upload = std::make_unique<UploadThread>(QStringLiteral("panorama-texture-upload"),
                                              std::make_unique<PanoramaTextureUploader>(shareContext, m_surface));
    m_link->upload = m_upload.get();
}

PanoramaTextureStore::~PanoramaTextureStore()
{
    // The uploader deletes every texture it made when its thread ends.
    m_recent.clear();
    m_loading.clear();
    // Decodes on the pool post to the uploader.
    m_link->cut();
    for (auto it = registry().begin(); it != registry().end();) {
        if (it->expired())
            it = registry().erase(it);
        else
            ++it;
    }
}

std::shared_ptr<PanoramaTexture> PanoramaTextureStore::resident(const QString &key)
{
    std::shared_ptr<PanoramaTexture> texture = m_textures.value(key).lock();
    const auto recent = std::find(m_recent.begin(), m_recent.end(), texture);
    if (texture && recent != m_recent.end()) {
        m_recent.erase(recent);
        m_recent.push_back(texture);
    }
    return texture;
}

void PanoramaTextureStore::Link::post(Call call)
{
    const std::lock_guard lock(mutex);
    if (upload)
        upload->post(std::move(call));
}

void PanoramaTextureStore::Link::cut()
{
    const std::lock_guard lock(mutex);
    upload = nullptr;
}

// A decode's photo on its way to the upload thread: every call goes through
// the link, in order, to the photo's upload.
class PanoramaTextureStore::DecodeSink final : public PanoramaPhotoDecode::Sink
{
public:
    using Uploader = PanoramaTextureUploader;

    DecodeSink(std::shared_ptr<Link> link, std::shared_ptr<PanoramaPhotoUpload> upload)
        : m_link(std::move(link))
        , m_upload(std::move(upload))
    {
    }

    void begin(QSize size) override
    {
        m_link->post([upload = m_upload, size](Uploader &uploader) { upload->begin(uploader, size); });
    }

    void addBand(const QImage &image, int y, int rows) override
    {
        m_link->post([upload = m_upload, image, y, rows](Uploader &uploader) { upload->addBand(uploader, image, y, rows); });
    }

    void finish() override
    {
        m_link->post([upload = m_upload](Uploader &uploader) { upload->finish(uploader); });
    }

    void abort() override
    {
        m_link->post([upload = m_upload](Uploader &uploader) { upload->abort(uploader); });
    }

    void whole(const QImage &image) override
    {
        m_link->post([upload = m_upload, image](Uploader &uploader) { upload->whole(uploader, image); });
    }

private:
    const std::shared_ptr<Link> m_link;
    const std::shared_ptr<PanoramaPhotoUpload> m_upload;
};

bool PanoramaTextureStore::join(const QString &key, QObject *receiver, Progress progress)
{
    const auto running = m_loading.find(key);
    if (running == m_loading.end()) {
        m_loading[key].waiters.push_back({receiver, std::move(progress)});
        return true;
    }
    running->waiters.push_back({receiver, progress});
    // Whatever has arrived so far, at once; a copy, as the receiver may
    // start another upload meanwhile.
    const Photo photo = running->photo;
    if (photo.texture || photo.preview)
        progress(photo);
    return false;
}

std::shared_ptr<PanoramaPhotoUpload> PanoramaTextureStore::startUpload(const QString &key, bool previewComing)
{
    // Reports arrive from the upload thread. Each is posted to the store's
    // own thread; should the store be deleted first, the posted call is dropped.
    PanoramaTextureStore *store = this;
    PanoramaPhotoUpload::Reports reports;
    reports.preview = [store, key](unsigned id, QSize previewSize, QSize photoSize) {
        QMetaObject::invokeMethod(store, [=] { store->showPreview(key, id, previewSize, photoSize); });
    };
    reports.strip = [store, key](QSize size, int strip, unsigned id) {
        QMetaObject::invokeMethod(store, [=] { store->addStrip(key, size, strip, id); });
    };
    reports.restarted = [store, key] { QMetaObject::invokeMethod(store, [=] { store->restart(key); }); };
    reports.finished = [store, key](bool complete) {
        QMetaObject::invokeMethod(store, [=] { store->finishUpload(key, complete); });
    };
    // With no other picture on the GPU there is nothing a preview could
    // make room for: the strips go as they come.
    const bool replacesAnother = !m_recent.empty() || m_loading.size() > 1;
    auto upload = std::make_shared<PanoramaPhotoUpload>(std::move(reports), previewComing, replacesAnother);
    m_loading[key].upload = upload;
    return upload;
}

void PanoramaTextureStore::upload(const QString &key, const QImage &image, QObject *receiver, Progress progress)
{
    if (auto texture = resident(key)) {
        progress({std::move(texture), nullptr, true});
        return;
    }
    if (!join(key, receiver, std::move(progress)))
        return;
    // The upload thread drains its work before the store finishes going.
    m_upload->post([upload = startUpload(key, false), image](PanoramaTextureUploader &uploader) {
        upload->whole(uploader, image);
    });
}

void PanoramaTextureStore::decodeAndUpload(std::shared_ptr<LumivaneImageCache> cache, const QUrl &url,
                                           const QString &key, QObject *receiver, Progress progress)
{
    if (!join(key, receiver, std::move(progress)))
        return;
    const std::shared_ptr<PanoramaPhotoUpload> upload = startUpload(key, true);
    // The preview decode goes first: it takes about half the time of the
    // photo's, and the two run side by side.
    LumivaneImageCache::pool()->start(
        [link = m_link, upload, url, maxSide = m_maxTextureSize] {
            const PanoramaJpegDecoder::Reduced preview = PanoramaPhotoDecode::decodePreview(url, maxSide);
            link->post([upload, preview](PanoramaTextureUploader &uploader) {
                upload->preview(uploader, preview.image, preview.fullSize);
            });
        },
        LumivaneImageCache::userInitiatedPriority);
    LumivaneImageCache::pool()->start(
        [link = m_link, upload, cache = std::move(cache), url, maxSide = m_maxTextureSize] {
            DecodeSink sink(link, upload);
            PanoramaPhotoDecode::decodeInto(sink, url, *cache, maxSide);
        },
        LumivaneImageCache::utilityPriority);
}

void PanoramaTextureStore::tell(const Loading &loading)
{
    // Copies: a receiver may start another upload while it is told, which
    // may move `loading` within the table.
    const std::vector<Waiter> waiters = loading.waiters;
    const Photo photo = loading.photo;
    for (const Waiter &waiter : waiters) {
        if (waiter.receiver)
            waiter.progress(photo);
    }
}

void PanoramaTextureStore::showPreview(const QString &key, unsigned id, QSize previewSize, QSize photoSize)
{
    const auto loading = m_loading.find(key);
    if (loading == m_loading.end()) {
        release({id});
        return;
    }
    loading->photo.preview =
        std::make_shared<PanoramaTexture>(weak_from_this(), previewSize, previewSize.height(), std::vector<unsigned>{id});
    const std::shared_ptr<PanoramaPhotoUpload> upload = loading->upload;
    tell(*loading);
    // The views now show the preview: the photo it replaced lets go of its
    // textures (their deletion is queued before what follows), or lends them.
    const auto [ids, size] = trimResident(photoSize);
    const PanoramaTextureUploader::Result recycled{ids, size};
    m_upload->post([upload, recycled](PanoramaTextureUploader &uploader) { upload->go(uploader, recycled); });
}

void PanoramaTextureStore::addStrip(const QString &key, QSize size, int strip, unsigned id)
{
    const auto loading = m_loading.find(key);
    if (loading == m_loading.end()) {
        release({id});
        return;
    }
    std::shared_ptr<PanoramaTexture> &texture = loading->photo.texture;
    if (!texture) {
        texture = std::make_shared<PanoramaTexture>(weak_from_this(), size, PanoramaStrips::stripRows,
                                                    std::vector<unsigned>(std::size_t(PanoramaStrips::count(size)), 0u));
    }
    texture->setStrip(strip, id);
    tell(*loading);
}

void PanoramaTextureStore::restart(const QString &key)
{
    const auto loading = m_loading.find(key);
    if (loading == m_loading.end() || !loading->photo.texture)
        return;
    loading->photo.texture.reset();
    tell(*loading);
}

void PanoramaTextureStore::finishUpload(const QString &key, bool complete)
{
    Loading loading = m_loading.take(key);
    loading.photo.preview.reset();
    loading.photo.done = true;
    if (!complete || !loading.photo.texture || !loading.photo.texture->isComplete()) {
        loading.photo.texture.reset();
    } else {
        m_textures.insert(key, loading.photo.texture);
        m_recent.push_back(loading.photo.texture);
    }
    tell(loading);
    trimResident(QSize());
}

std::pair<std::vector<unsigned>, QSize> PanoramaTextureStore::trimResident(QSize reusableSize)
{
    const auto unshown = [](const std::shared_ptr<PanoramaTexture> &texture) { return texture.use_count() == 1; };
    qint64 unshownBytes = 0;
    for (const auto &texture : m_recent) {
        if (unshown(texture))
            unshownBytes += texture->bytes();
    }
    std::pair<std::vector<unsigned>, QSize> reusable;
    for (auto it = m_recent.begin(); it != m_recent.end() && unshownBytes > residentByteBudget;) {
        if (!unshown(*it)) {
            ++it;
            continue;
        }
        const std::shared_ptr<PanoramaTexture> texture = *it;
        it = m_recent.erase(it);
        unshownBytes -= texture->bytes();
        m_textures.removeIf([&texture](const auto &entry) { return entry.value().lock() == texture; });
        if (reusable.first.empty() && reusableSize.isValid() && texture->size() == reusableSize)
            reusable = {texture->takeIds(), texture->size()};
    }
    return reusable;
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
