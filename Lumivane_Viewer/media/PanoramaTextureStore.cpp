#include "PanoramaTextureStore.h"

#include "PanoramaTextureUploader.h"

#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QThread>

namespace {

// One store per context group, dropped when its last user lets go.
QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> &registry()
{
    static QHash<QOpenGLContextGroup *, std::weak_ptr<PanoramaTextureStore>> stores;
    return stores;
}

} // namespace

PanoramaTexture::PanoramaTexture(std::weak_ptr<PanoramaTextureStore> store, unsigned id, QSize size)
    : m_store(std::move(store))
    , m_id(id)
    , m_size(size)
{
}

PanoramaTexture::~PanoramaTexture()
{
    if (!m_id)
        return;
    if (auto store = m_store.lock())
        store->release(m_id);
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
{
    m_surface = new QOffscreenSurface(nullptr, this);
    m_surface->setFormat(shareContext->format());
    m_surface->create();
    auto *context = new QOpenGLContext;
    context->setFormat(shareContext->format());
    context->setShareContext(shareContext);
    context->create();

    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("panorama-texture-upload"));
    context->moveToThread(m_thread);
    m_uploader = new PanoramaTextureUploader(context, m_surface);
    m_uploader->moveToThread(m_thread);
    m_thread->start();
}

PanoramaTextureStore::~PanoramaTextureStore()
{
    // Textures outliving the store are freed with the context group.
    m_recent.clear();
    for (auto it = registry().begin(); it != registry().end();) {
        if (it->expired())
            it = registry().erase(it);
        else
            ++it;
    }
    PanoramaTextureUploader *uploader = m_uploader;
    QMetaObject::invokeMethod(uploader, [uploader] { uploader->shutDown(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_uploader;
}

std::shared_ptr<PanoramaTexture> PanoramaTextureStore::resident(const QString &key) const
{
    return m_textures.value(key).lock();
}

void PanoramaTextureStore::upload(const QString &key, const QImage &image, QObject *receiver, Ready ready)
{
    if (auto texture = resident(key)) {
        ready(std::move(texture));
        return;
    }
    auto &waiters = m_waiting[key];
    waiters.push_back({receiver, std::move(ready)});
    if (waiters.size() > 1)
        return;
    PanoramaTextureUploader *uploader = m_uploader;
    // The answer is posted to the store's own thread; should the store be
    // deleted first, the posted call is dropped with it.
    PanoramaTextureStore *store = this;
    const auto [recycledId, recycledSize] = takeRecyclable();
    const PanoramaTextureUploader::Result recycled{recycledId, recycledSize};
    QMetaObject::invokeMethod(uploader, [uploader, store, key, image, recycled] {
        const PanoramaTextureUploader::Result result = uploader->upload(image, recycled);
        QMetaObject::invokeMethod(store, [store, key, result] { store->finishUpload(key, result.id, result.size); });
    });
}

std::pair<unsigned, QSize> PanoramaTextureStore::takeRecyclable()
{
    // Only a texture that the new one would push out of the recent list anyway.
    if (m_recent.size() < recentTextureCount)
        return {0u, QSize()};
    for (auto it = m_recent.begin(); it != m_recent.end(); ++it) {
        if (it->use_count() == 1) {
            const std::shared_ptr<PanoramaTexture> texture = *it;
            m_recent.erase(it);
            m_textures.removeIf([&texture](const auto &entry) { return entry.value().lock() == texture; });
            return {texture->takeId(), texture->size()};
        }
    }
    return {0u, QSize()};
}

void PanoramaTextureStore::finishUpload(const QString &key, unsigned id, QSize size)
{
    std::shared_ptr<PanoramaTexture> texture;
    if (id) {
        texture = std::make_shared<PanoramaTexture>(weak_from_this(), id, size);
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

void PanoramaTextureStore::release(unsigned id)
{
    PanoramaTextureUploader *uploader = m_uploader;
    QMetaObject::invokeMethod(uploader, [uploader, id] { uploader->deleteTexture(id); });
    for (auto it = m_textures.begin(); it != m_textures.end();) {
        if (it->expired())
            it = m_textures.erase(it);
        else
            ++it;
    }
}
