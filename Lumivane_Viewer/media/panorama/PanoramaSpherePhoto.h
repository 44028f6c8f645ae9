#pragma once

#include "scene/SceneAction.h"

#include <QImage>
#include <QUrl>

#include <memory>
#include <optional>

class LumivaneImageCache;
class PanoramaTexture;
class PanoramaTextureStore;
class QOpenGLWidget;
class Scene;
class SceneNode;

/// The photo on a panorama view's sphere: asks the texture store of the
/// view's context group for it, shows its preview and then its full
/// resolution, turns the sphere to the photo's first view and fades it out
/// and in around the change, and keeps the photo that comes next on the GPU
/// until it comes. Knows nothing of hotspots, input or the view's inputs:
/// the view tells it which photo to show. GUI thread.
class PanoramaSpherePhoto
{
public:
    /// Draws on `sphere`, a node of `scene` that `view` shows; photos are
    /// looked up in `cache`, and what is decoded for them is kept there.
    PanoramaSpherePhoto(QOpenGLWidget &view, Scene &scene, SceneNode &sphere,
                        std::shared_ptr<LumivaneImageCache> cache);

    /// Shows the photo of `url` turned to `yaw` and `pitch` once it comes;
    /// empty: the placeholder at once.
    void show(const QUrl &url, std::optional<double> yaw, std::optional<double> pitch);
    /// Puts the photo that comes next (`arriving`) on the GPU, and lets the
    /// last one go; none while it is the photo shown (`current`).
    void prepareArrival(const QUrl &arriving, const QUrl &current);
    /// Called once the view has its GL context: joins that context's group.
    /// True when the group is a new one and the photo must be shown again.
    bool joinContextGroup();
    /// Whether a photo is still being decoded or uploaded.
    bool isLoading() const { return m_loadingGeneration != 0; }

private:
    /// Takes the store of the view's context group; true when it replaced
    /// one whose photo the sphere showed or awaited (now the placeholder).
    bool ensureTextureStore();
    void applyPlaceholderTexture();
    /// Asks the texture store for the photo being loaded; `decoded` is what
    /// the image cache holds of it.
    void requestPhoto(const QUrl &url, const QImage &decoded);
    void showProgress(std::shared_ptr<PanoramaTexture> texture, std::shared_ptr<PanoramaTexture> preview, bool done,
                      quint64 generation);
    void showMissingPhoto();
    void setTexture(std::shared_ptr<PanoramaTexture> texture, std::shared_ptr<PanoramaTexture> preview = nullptr);
    void setOrientation(std::optional<double> yaw, std::optional<double> pitch);
    /// The cached path's fade: from 0.3 to 1 in 0.2 s.
    void fadeInFromPointThree();
    void fade(double to, double duration, SceneTimingMode mode);

    QOpenGLWidget &m_view;
    Scene &m_scene;
    SceneNode &m_sphere;
    std::shared_ptr<LumivaneImageCache> m_cache;

    std::shared_ptr<PanoramaTextureStore> m_textureStore;
    QUrl m_loadURL;
    quint64 m_photoGeneration = 0;
    quint64 m_loadingGeneration = 0;
    /// The photo generation whose upload has been asked of the texture store.
    quint64 m_uploadGeneration = 0;
    /// The photo on its way was already decoded: it is shown like a cached one.
    bool m_loadingFromCache = false;
    /// Some picture of the photo on its way is on the sphere already.
    bool m_loadShown = false;
    std::optional<double> m_loadYaw;
    std::optional<double> m_loadPitch;
    QUrl m_arrivingURL;
    std::shared_ptr<PanoramaTexture> m_arrivingTexture; // kept until the sphere shows it
};
