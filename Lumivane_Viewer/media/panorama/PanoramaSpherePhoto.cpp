#include "PanoramaSpherePhoto.h"

#include "PanoramaTextureStore.h"
#include "scene/Scene.h"

#include "media/images/LumivaneImageCache.h"

#include <QOpenGLContext>
#include <QOpenGLWidget>

#include <algorithm>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// One key for every fade of the sphere: a newer fade replaces an older one,
// so overlapping fades can never leave the photo dark.
const QString fadeKey = QStringLiteral("fade");

// The placeholder of a missing photo.
const QColor placeholderColor = QColor::fromRgbF(0.15f, 0.15f, 0.15f);

} // namespace

PanoramaSpherePhoto::PanoramaSpherePhoto(QOpenGLWidget &view, Scene &scene, SceneNode &sphere,
                                         std::shared_ptr<LumivaneImageCache> cache)
    : m_view(view)
    , m_scene(scene)
    , m_sphere(sphere)
    , m_cache(std::move(cache))
{
    Q_ASSERT(m_cache);
}

void PanoramaSpherePhoto::show(const QUrl &url, std::optional<double> yaw, std::optional<double> pitch)
{
    // Whatever was on its way for an earlier request is no longer wanted.
    ++m_photoGeneration;
    m_loadingGeneration = 0;
    if (url.isEmpty()) {
        applyPlaceholderTexture();
        // A fade-out still running from an earlier load would otherwise keep
        // the placeholder dark.
        m_sphere.removeAction(fadeKey);
        m_sphere.setOpacity(1.0);
        return;
    }
    const QImage decoded = m_cache->lookup(url);
    m_loadingFromCache = !decoded.isNull();
    m_loadShown = false;
    m_loadingGeneration = m_photoGeneration;
    m_loadURL = url;
    m_loadYaw = yaw;
    m_loadPitch = pitch;
    // A decoded photo only waits for the GPU: the old one stays as it is
    // until the new one can be shown, then the new one comes in like any
    // cached photo. Any other fades out while the new one is read.
    if (!m_loadingFromCache)
        fade(0.0, 0.35, SceneTimingMode::EaseOut);
    if (!m_textureStore)
        ensureTextureStore();
    // Without a store the photo is asked for once the view has its GL context.
    if (m_textureStore)
        requestPhoto(url, decoded);
}

void PanoramaSpherePhoto::prepareArrival(const QUrl &arriving, const QUrl &current)
{
    if (arriving == m_arrivingURL)
        return;
    m_arrivingURL = arriving;
    // The photo that came last is on the sphere by now, which holds it itself.
    m_arrivingTexture.reset();
    if (arriving.isEmpty() || arriving == current)
        return;
    if (!m_textureStore)
        ensureTextureStore();
    if (!m_textureStore)
        return;
    const auto keep = [this, arriving](const PanoramaTextureStore::Photo &photo) {
        if (arriving == m_arrivingURL && photo.texture)
            m_arrivingTexture = photo.texture;
    };
    m_textureStore->load(arriving, m_cache->lookup(arriving), m_cache, &m_view, keep);
}

bool PanoramaSpherePhoto::joinContextGroup()
{
    if (ensureTextureStore())
        return true;
    // A photo asked for before the view had a store to upload it.
    if (m_loadingGeneration == m_photoGeneration && m_loadingGeneration != 0 && m_uploadGeneration != m_photoGeneration)
        requestPhoto(m_loadURL, m_cache->lookup(m_loadURL));
    return false;
}

bool PanoramaSpherePhoto::ensureTextureStore()
{
    // Before the view has a context of its own, the global share context of
    // an application whose views all share names the group it will join.
    QOpenGLContext *context = m_view.context();
    QOpenGLContext *group = context && context->isValid() ? context : QOpenGLContext::globalShareContext();
    if (!group)
        return false;
    auto store = PanoramaTextureStore::forContext(group);
    if (store == m_textureStore)
        return false;
    const bool showsPhoto = m_sphere.geometry() && m_sphere.geometry()->firstMaterial().texture;
    const bool hadPhoto = m_textureStore && (showsPhoto || m_loadingGeneration != 0);
    m_textureStore = std::move(store);
    if (!hadPhoto)
        return false;
    // A new context group (moved to another window without shared
    // contexts): the old textures cannot be drawn here, nor can those
    // of an upload still on its way.
    applyPlaceholderTexture();
    return true;
}

void PanoramaSpherePhoto::applyPlaceholderTexture()
{
    if (!m_sphere.geometry() || m_sphere.geometry()->kind() != SceneGeometry::Kind::Sphere)
        return;
    m_sphere.geometry()->firstMaterial().texture.reset();
    m_sphere.geometry()->firstMaterial().color = placeholderColor;
}

void PanoramaSpherePhoto::requestPhoto(const QUrl &url, const QImage &decoded)
{
    const quint64 generation = m_photoGeneration;
    m_uploadGeneration = generation;
    m_textureStore->load(url, decoded, m_cache, &m_view, [this, generation](const PanoramaTextureStore::Photo &photo) {
        showProgress(photo.texture, photo.preview, photo.done, generation);
    });
}

void PanoramaSpherePhoto::showProgress(std::shared_ptr<PanoramaTexture> texture,
                                       std::shared_ptr<PanoramaTexture> preview, bool done, quint64 generation)
{
    if (generation != m_photoGeneration)
        return;
    if (done)
        m_loadingGeneration = 0;
    if (done && !texture) {
        showMissingPhoto();
        return;
    }
    // Strips alone, without a preview under the missing ones, would show black bands.
    if (!preview && !(texture && texture->isComplete()))
        return;
    setTexture(std::move(texture), std::move(preview));
    if (m_loadShown)
        return;
    // The first picture of the photo: from here the full resolution only
    // replaces the preview, without a turn or a change of the fade.
    m_loadShown = true;
    setOrientation(m_loadYaw, m_loadPitch);
    if (m_loadingFromCache)
        fadeInFromPointThree();
    else
        fade(1.0, 0.45, SceneTimingMode::EaseIn);
}

void PanoramaSpherePhoto::showMissingPhoto()
{
    applyPlaceholderTexture();
    fade(1.0, 0.35, SceneTimingMode::Linear);
}

void PanoramaSpherePhoto::setTexture(std::shared_ptr<PanoramaTexture> texture, std::shared_ptr<PanoramaTexture> preview)
{
    if (!m_sphere.geometry() || m_sphere.geometry()->kind() != SceneGeometry::Kind::Sphere)
        return;
    const PanoramaTexture &shown = texture ? *texture : *preview;
    const QSize size = shown.size();
    std::vector<SceneTexture::Strip> strips;
    for (std::size_t i = 0; i < shown.ids().size(); ++i) {
        const int top = int(i) * shown.stripRows();
        const int bottom = std::min(top + shown.stripRows(), size.height());
        strips.push_back({shown.ids()[i], float(double(top) / size.height()), float(double(bottom) / size.height())});
    }
    const unsigned fallback = texture && preview ? preview->ids().front() : 0u;
    auto owner = std::make_shared<std::pair<std::shared_ptr<PanoramaTexture>, std::shared_ptr<PanoramaTexture>>>(
        std::move(texture), std::move(preview));
    m_sphere.geometry()->firstMaterial().texture =
        std::make_shared<SceneTexture>(std::move(strips), size, std::move(owner), fallback);
    m_view.update();
}

void PanoramaSpherePhoto::setOrientation(std::optional<double> yaw, std::optional<double> pitch)
{
    m_sphere.setEulerAngles({pitch ? -*pitch : 0.0, yaw ? *yaw - std::numbers::pi : 0.0, 0.0});
    m_view.update();
}

void PanoramaSpherePhoto::fadeInFromPointThree()
{
    m_sphere.setOpacity(0.3);
    fade(1.0, 0.2, SceneTimingMode::EaseIn);
}

void PanoramaSpherePhoto::fade(double to, double duration, SceneTimingMode mode)
{
    m_sphere.runAction(SceneAction::fadeOpacity(to, duration, mode), m_scene.clock().now(), fadeKey);
    m_view.update();
}
