#pragma once

#include "PanoramaHotspotNodes.h"
#include "PanoramaMarkerPlaces.h"
#include "scene/Scene.h"
#include "scene/SceneRenderer.h"

#include "model/Hotspot.h"
#include "model/ModelEnums.h"
#include "widgets/PaintedItemAccessibility.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QOpenGLWidget>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class LumivaneImageCache;
class PanoramaScrollMonitor;
class PanoramaSpherePhoto;

/// Shows one station's equirectangular photo inside a sphere around a fixed
/// camera, with its hotspot markers. Built from its inputs: the owner hands
/// the whole set to setInputs() whenever its own state changes, and the view
/// works out what has to change (the update cycle). Drags turn the photo,
/// clicks on markers are reported through onHotspotTap, the scroll wheel
/// zooms and says so through onFieldOfViewChanged. Every marker of the
/// station is a painted item: the keyboard reaches them one after the other
/// round the station after the view itself takes the focus from Tab, the
/// view turning to the one it is on, and assistive technology sees those
/// it draws as its children. The owner names the photo it shows next, which
/// the view puts on the GPU meanwhile. Knows nothing of tours or navigation.
///
/// Several views may live at once and share GL textures when they share a
/// context group; the application should set Qt::AA_ShareOpenGLContexts
/// before creating its QApplication so that all views do. Views then also
/// start loading their photo before they are first shown.
class Panorama360ViewerView final : public PaintedItemWidget<QOpenGLWidget>
{
public:
    /// Everything the owner supplies, on every update.
    struct Inputs
    {
        QUrl imageURL; ///< empty: no photo
        /// The photo that comes next (empty: none known): put on the GPU
        /// now and kept there, so that it shows at once when it comes.
        QUrl arrivingImageURL;
        QList<Hotspot> hotspots;
        bool autoRotate = false;
        double autoRotateDurationSeconds = 90.0;
        bool hideHotspots = false;
        std::optional<double> initialYaw;
        std::optional<double> initialPitch;
        double fov = 75.0;
        int resetHorizonTrigger = 0;
        int resetViewTrigger = 0;
        QSet<QUuid> visitedStationIDs;
        QHash<QUuid, QString> stationNames;
        QHash<QUuid, QString> stationNumbers;
        std::function<void(double)> onYawChanged;
        std::function<void(const Hotspot &)> onHotspotTap;
        /// Called with the field of view (degrees) the scroll wheel zoomed
        /// to: an owner that hands it back as `fov` zooms on from there.
        std::function<void(double)> onFieldOfViewChanged;
        HotspotStyle hotspotStyle = HotspotStyle::classic;
        bool showHotspotLabels = true;
        /// false: no drag, click or zoom at all (a background panorama).
        bool interactive = true;
        /// The visitor's language: info markers are named in it to
        /// assistive technology (PanoramaAccessibility).
        QString languageCode;
    };

    static constexpr double sphereRadius = 10.0;
    static constexpr int sphereSegmentCount = 96;
    static constexpr double initialFieldOfView = 75.0;

    /// Photos are looked up in `cache`, and what the view decodes is kept there.
    Panorama360ViewerView(const Inputs &inputs, std::shared_ptr<LumivaneImageCache> cache, QWidget *parent = nullptr);
    ~Panorama360ViewerView() override;

    /// Takes the owner's current inputs and runs the update cycle.
    void setInputs(const Inputs &inputs);
    const Inputs &inputs() const { return m_inputs; }

    Scene &scene() { return m_scene; }
    /// The photo sphere as it is drawn: its texture, opacity and turn, with
    /// the markers under it.
    const SceneNode &sphere() const { return *m_coordinator.sphereNode; }
    /// Whether a photo is still being decoded or uploaded for the view.
    bool isLoadingPhoto() const;

    /// Black over the whole picture at this opacity (0 to 1), drawn in the
    /// view's own frame: a cover that fades over the panorama costs no
    /// window composition of its own.
    void setCoverOpacity(double opacity);
    double coverOpacity() const { return m_coverOpacity; }

    /// The format the view asks for: 4x multisampling, depth buffer.
    static QSurfaceFormat surfaceFormat();
    /// The most pixels the view shows a photo at: the GPU's largest texture
    /// (GL_MAX_TEXTURE_SIZE) on both sides, asked once per process; empty
    /// without OpenGL. GUI thread.
    static QSize photoBound();

    /// The markers drawn in view now, left to right; none in a view that
    /// takes no clicks.
    QList<PanoramaMarkerPlace> visibleMarkers() const;
    /// The hotspot a marker shows, while the view has it.
    std::optional<Hotspot> markerHotspot(const QUuid &hotspotID) const;
    /// Does what a click on the marker does.
    void pressMarker(const QUuid &hotspotID);

    int paintedItemCount() const override;
    QString paintedItemName(int index) const override;
    QRect paintedItemRect(int index) const override;
    void pressPaintedItem(int index) override;
    std::optional<int> paintedItemAt(QPointF position) const override;
    QString paintedItemKey(int index) const override;
    std::optional<int> paintedItemOfKey(const QString &key) const override;
    /// The markers that have nodes: at most PanoramaHotspotNodes::shownLimit.
    QList<int> drawnPaintedItems() const override;
    /// Where its markers are (the first in view), or the middle of the view.
    std::optional<QRect> readingPlace() const override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent *event) override;
    /// Turns the view to a marker the keyboard moved to, unless the view
    /// shows it well inside its edges.
    void revealPaintedItem(int index) override;
    // Its own mouse: a drag turns the photo, a click hits what the scene
    // draws there; what the view does not take goes on to its parent.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    /// What the view remembers between updates, and its input handling,
    /// which answers to the view's current inputs.
    class Coordinator
    {
    public:
        enum class PanState { began, changed, ended };

        Coordinator(Scene &scene, const Inputs &inputs);

        /// A drag step with the translation since the press, y upward.
        void handlePan(PanState state, QPointF translation);
        /// A click at a point of the view (pixels from its top-left corner).
        void handleClick(QPointF point, QSizeF viewSize);
        void zoom(double scrollDelta);

        QUrl currentURL;
        /// The `fov` input the camera was last sent to; none before the first update.
        std::optional<double> lastFieldOfView;
        SceneNode *sphereNode = nullptr;
        SceneNode *cameraNode = nullptr;
        SceneNode *hotspotsRoot = nullptr;
        int lastResetTrigger = 0;
        int lastResetViewTrigger = 0;
        bool autoRotateActive = false;
        std::unique_ptr<PanoramaScrollMonitor> scrollMonitor;
        QPointF lastTranslation;

    private:
        Scene &m_scene;
        const Inputs &m_inputs;
    };

    void makeScene();
    void runUpdateCycle();
    void updateFieldOfView();
    void resetHorizon();
    void updateAutoRotation();
    void startAutoRotation();

    void applyPanoramaImage();
    void scheduleFrame();
    void releaseGL();
    /// Gives the markers the view shows now their nodes, and only those.
    void showMarkersInView();
    /// Orders the station's markers for the keyboard when they changed.
    void updateMarkerItems();
    std::optional<Hotspot> itemHotspot(int index) const;
    /// Tells assistive technology when other markers are drawn.
    void announceMarkerChanges();
    /// Takes the focus from Tab while it shows markers a visitor may press.
    void updateFocusPolicy();
    /// The keyboard's ring on the focused marker, or along the view's edge
    /// while the view itself has the focus.
    void paintFocusRing();

    Inputs m_inputs;
    Scene m_scene;
    Coordinator m_coordinator;
    PanoramaHotspotNodes m_hotspotNodes;
    SceneRenderer m_renderer;
    QTimer m_frameTimer;
    QElapsedTimer m_frameClock;

    std::unique_ptr<PanoramaSpherePhoto> m_photo; // made once the scene has its sphere

    double m_coverOpacity = 0;
    /// The painted items: indexes into the inputs' hotspots, in the order the
    /// keyboard takes them, with what they were worked out from, and the item
    /// of each hotspot id (the index of their keys).
    struct MarkerItems
    {
        QList<Hotspot> hotspots;
        bool shown = false;
        std::optional<double> initialYaw;
        QList<qsizetype> order;
        QHash<QUuid, int> indexOf;
    } m_items;
    QList<QUuid> m_announcedMarkers;
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPosition;
};
