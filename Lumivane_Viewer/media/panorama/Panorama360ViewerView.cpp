#include "Panorama360ViewerView.h"

#include "PanoramaAccessibility.h"
#include "PanoramaScrollMonitor.h"
#include "PanoramaSpherePhoto.h"
#include "PanoramaTextureStore.h"

#include "widgets/KeyboardFocus.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QSurfaceFormat>

#include <algorithm>
#include <numbers>

namespace {

const QString sphereName = QStringLiteral("sphere");
const QString hotspotsRootName = QStringLiteral("hotspotsRoot");
const QString autoRotateKey = QStringLiteral("autoRotate");
// The dark grey the sphere shows before any photo was asked for.
const QColor initialSphereColor = QColor::fromRgbF(1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f);

constexpr int frameIntervalMs = 16;
// As long as the horizon reset takes: the keyboard's turn to a marker.
constexpr double revealSeconds = 0.35;

PanoramaHotspotNodes::Inputs hotspotInputs(const Panorama360ViewerView::Inputs &inputs)
{
    return {inputs.hotspots, inputs.hideHotspots, inputs.visitedStationIDs, inputs.stationNames,
            inputs.stationNumbers, inputs.hotspotStyle, inputs.showHotspotLabels};
}

std::optional<Hotspot> findHotspot(const QList<Hotspot> &hotspots, const QUuid &id)
{
    const auto found = std::find_if(hotspots.cbegin(), hotspots.cend(), [&id](const Hotspot &h) { return h.id == id; });
    return found == hotspots.cend() ? std::nullopt : std::optional(*found);
}

} // namespace

Panorama360ViewerView::Coordinator::Coordinator(Scene &scene, const Inputs &inputs)
    : m_scene(scene)
    , m_inputs(inputs)
{
}

void Panorama360ViewerView::Coordinator::handlePan(PanState state, QPointF translation)
{
    if (!sphereNode)
        return;
    if (state == PanState::began) {
        lastTranslation = translation;
        return;
    }
    if (state != PanState::changed)
        return;
    const double dx = translation.x() - lastTranslation.x();
    const double dy = translation.y() - lastTranslation.y();
    lastTranslation = translation;
    // Each product in single precision, the rate a drag has always turned at:
    // the delta rounded to a float, times the float nearest 0.005.
    const double turnX = double(float(dy) * 0.005f);
    const double turnY = double(float(dx) * 0.005f);
    const SceneVector e = sphereNode->eulerAngles();
    sphereNode->setEulerAngles({e.x + turnX, e.y - turnY, 0.0});
    // A copy: the owner may hand the view new inputs while it is told.
    if (const auto report = m_inputs.onYawChanged)
        report(sphereNode->eulerAngles().y);
}

void Panorama360ViewerView::Coordinator::handleClick(QPointF point, QSizeF viewSize)
{
    for (const SceneHit &hit : m_scene.hitTest(point, viewSize)) {
        for (const SceneNode *node = hit.node; node; node = node->parent()) {
            const std::optional<QUuid> id = PanoramaHotspotNodes::idFromNodeName(node->name());
            if (!id)
                continue;
            // Copies: the tap may hand the view new inputs, which replace both.
            const std::optional<Hotspot> hotspot = findHotspot(m_inputs.hotspots, *id);
            if (!hotspot)
                continue;
            if (const auto tap = m_inputs.onHotspotTap)
                tap(*hotspot);
            return;
        }
    }
}

void Panorama360ViewerView::Coordinator::zoom(double scrollDelta)
{
    if (!cameraNode || !cameraNode->camera())
        return;
    SceneCamera &camera = *cameraNode->camera();
    camera.setFieldOfView(std::max(std::min(camera.fieldOfView() - 2.0 * scrollDelta, 120.0), 20.0));
    // A copy: the owner may hand the view new inputs while it is told.
    if (const auto report = m_inputs.onFieldOfViewChanged)
        report(camera.fieldOfView());
}

Panorama360ViewerView::Panorama360ViewerView(const Inputs &inputs, std::shared_ptr<LumivaneImageCache> cache,
                                             QWidget *parent)
    : PaintedItemWidget(parent)
    , m_inputs(inputs)
    , m_coordinator(m_scene, m_inputs)
{
    installPaintedItemAccessibility();
    setFormat(surfaceFormat());
    setMouseTracking(false);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    m_frameTimer.setSingleShot(true);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] { update(); });
    makeScene();
    m_photo = std::make_unique<PanoramaSpherePhoto>(*this, m_scene, *m_coordinator.sphereNode, std::move(cache));
    runUpdateCycle();
}

Panorama360ViewerView::~Panorama360ViewerView()
{
    // The base class destroys the context after this object is gone: its
    // last signal must not reach the renderer any more.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    makeCurrent();
    releaseGL();
    doneCurrent();
}

QSurfaceFormat Panorama360ViewerView::surfaceFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSamples(4);
    format.setDepthBufferSize(24);
    return format;
}

QSize Panorama360ViewerView::photoBound()
{
    const int limit = PanoramaTextureStore::textureSizeLimit();
    return QSize(limit, limit);
}

void Panorama360ViewerView::makeScene()
{
    auto sphere = std::make_unique<SceneNode>(sphereName);
    auto geometry = SceneGeometry::sphere(sphereRadius, sphereSegmentCount);
    SceneMaterial &material = geometry->firstMaterial();
    material.doubleSided = true;
    material.cullFront = true;
    material.color = initialSphereColor;
    material.textureScaleS = -1.0f;
    material.repeatS = true;
    // The sphere is drawn first, over the black clear colour, and covers the
    // whole view: a faded sphere is its colour times its opacity without any
    // blending, and nothing drawn later tests depth.
    material.blends = false;
    material.readsDepth = false;
    material.writesDepth = false;
    sphere->setGeometry(std::move(geometry));
    m_coordinator.sphereNode = m_scene.rootNode().addChild(std::move(sphere));

    if (m_inputs.autoRotate) {
        startAutoRotation();
        m_coordinator.autoRotateActive = true;
    }

    m_coordinator.hotspotsRoot = m_coordinator.sphereNode->addChild(std::make_unique<SceneNode>(hotspotsRootName));

    auto camera = std::make_unique<SceneCamera>();
    camera->setFieldOfView(initialFieldOfView);
    camera->setZNear(0.01);
    camera->setZFar(100.0);
    auto cameraNode = std::make_unique<SceneNode>();
    cameraNode->setCamera(std::move(camera));
    m_coordinator.cameraNode = m_scene.rootNode().addChild(std::move(cameraNode));
    m_scene.setPointOfView(m_coordinator.cameraNode);

    m_coordinator.scrollMonitor = std::make_unique<PanoramaScrollMonitor>(this, [this](double deltaY) {
        if (m_inputs.interactive) {
            m_coordinator.zoom(deltaY);
            showMarkersInView();
            update();
        }
    });
}

void Panorama360ViewerView::setInputs(const Inputs &inputs)
{
    m_inputs = inputs;
    runUpdateCycle();
}

void Panorama360ViewerView::runUpdateCycle()
{
    // A view that takes no input lets the pointer through to what lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents, !m_inputs.interactive);
    if (m_coordinator.currentURL != m_inputs.imageURL) {
        m_coordinator.currentURL = m_inputs.imageURL;
        applyPanoramaImage();
    }
    // After the photo: an arrival's texture is let go once the sphere holds it.
    m_photo->prepareArrival(m_inputs.arrivingImageURL, m_inputs.imageURL);
    m_hotspotNodes.sync(hotspotInputs(m_inputs), m_scene.clock().now());
    updateMarkerItems();
    updateFieldOfView();
    if (m_coordinator.lastResetTrigger < m_inputs.resetHorizonTrigger) {
        m_coordinator.lastResetTrigger = m_inputs.resetHorizonTrigger;
        resetHorizon();
    }
    if (m_coordinator.lastResetViewTrigger < m_inputs.resetViewTrigger) {
        m_coordinator.lastResetViewTrigger = m_inputs.resetViewTrigger;
        applyPanoramaImage();
    }
    updateAutoRotation();
    showMarkersInView();
    updateFocusPolicy();
    update();
}

void Panorama360ViewerView::showMarkersInView()
{
    SceneNode *root = m_coordinator.hotspotsRoot;
    if (!root)
        return;
    m_hotspotNodes.showInView(*root, PanoramaHotspotNodes::View::of(m_scene, *root, size()), m_scene.clock().now());
}

void Panorama360ViewerView::updateMarkerItems()
{
    const bool shown = m_inputs.interactive && !m_inputs.hideHotspots;
    if (m_inputs.hotspots == m_items.hotspots && shown == m_items.shown && m_inputs.initialYaw == m_items.initialYaw)
        return;
    m_items = {m_inputs.hotspots, shown, m_inputs.initialYaw, {}, {}};
    if (shown)
        m_items.order = markerRoundOrder(m_inputs.hotspots, m_inputs.initialYaw);
    m_items.indexOf.reserve(m_items.order.size());
    for (qsizetype item = m_items.order.size() - 1; item >= 0; --item)
        m_items.indexOf.insert(m_inputs.hotspots[m_items.order[item]].id, int(item)); // the first of an id
}

std::optional<Hotspot> Panorama360ViewerView::itemHotspot(int index) const
{
    if (index < 0 || index >= m_items.order.size())
        return std::nullopt;
    return m_items.hotspots[m_items.order[index]];
}

void Panorama360ViewerView::updateFocusPolicy()
{
    // A background panorama, the VR pair and the kiosk hide or lock their
    // markers: nothing to reach, and no stop on the way to the controls.
    const bool reachable = !m_items.order.isEmpty();
    setFocusPolicy(reachable ? Qt::TabFocus : Qt::NoFocus);
    if (!reachable && hasFocus())
        clearFocus();
}

void Panorama360ViewerView::updateFieldOfView()
{
    SceneNode *node = m_coordinator.cameraNode;
    if (!node || !node->camera())
        return;
    // Only a new `fov` moves the camera: an update for anything else leaves
    // a wheel zoom where it is.
    if (m_coordinator.lastFieldOfView == m_inputs.fov)
        return;
    m_coordinator.lastFieldOfView = m_inputs.fov;
    if (std::abs(node->camera()->fieldOfView() - m_inputs.fov) > 0.5)
        node->camera()->animateFieldOfView(m_inputs.fov, 0.25, m_scene.clock().now());
}

void Panorama360ViewerView::resetHorizon()
{
    SceneNode *sphere = m_coordinator.sphereNode;
    if (!sphere)
        return;
    const SceneVector e = sphere->eulerAngles();
    sphere->animateEulerAngles({0.0, e.y, 0.0}, 0.35, m_scene.clock().now());
}

void Panorama360ViewerView::updateAutoRotation()
{
    if (m_inputs.autoRotate) {
        if (!m_coordinator.autoRotateActive && m_coordinator.sphereNode) {
            startAutoRotation();
            m_coordinator.autoRotateActive = true;
        }
        return;
    }
    if (m_coordinator.autoRotateActive) {
        if (m_coordinator.sphereNode)
            m_coordinator.sphereNode->removeAction(autoRotateKey);
        m_coordinator.autoRotateActive = false;
    }
}

void Panorama360ViewerView::startAutoRotation()
{
    const auto turn = SceneAction::rotateBy({0.0, -2.0 * std::numbers::pi, 0.0}, m_inputs.autoRotateDurationSeconds);
    m_coordinator.sphereNode->runAction(SceneAction::repeatForever(turn), m_scene.clock().now(), autoRotateKey);
}

bool Panorama360ViewerView::isLoadingPhoto() const
{
    return m_photo->isLoading();
}

void Panorama360ViewerView::applyPanoramaImage()
{
    m_photo->show(m_inputs.imageURL, m_inputs.initialYaw, m_inputs.initialPitch);
}

void Panorama360ViewerView::setCoverOpacity(double opacity)
{
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (opacity == m_coverOpacity)
        return;
    m_coverOpacity = opacity;
    update();
}

void Panorama360ViewerView::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        releaseGL();
        doneCurrent();
    });
    if (m_photo->joinContextGroup())
        applyPanoramaImage();
}

void Panorama360ViewerView::paintGL()
{
    m_frameClock.start();
    m_scene.advance();
    showMarkersInView();
    m_renderer.render(m_scene, size() * devicePixelRatioF(), float(m_coverOpacity));
    scheduleFrame();
    followItemChanges(*this);
    paintFocusRing();
    announceMarkerChanges();
}

void Panorama360ViewerView::paintFocusRing()
{
    if (!KeyboardFocus::showsRing(*this))
        return;
    // The painter restores the GL state it changes when it ends.
    QPainter painter(this);
    painter.setOpacity(1.0 - m_coverOpacity);
    const std::optional<int> focused = focusedPaintedItem();
    const std::optional<Hotspot> hotspot = focused ? itemHotspot(*focused) : std::nullopt;
    const QList<PanoramaMarkerPlace> places = visibleMarkers();
    const auto place = std::find_if(places.cbegin(), places.cend(), [&hotspot](const PanoramaMarkerPlace &p) {
        return hotspot && p.hotspotID == hotspot->id;
    });
    // The view itself, or a marker out of view while the view turns to it.
    if (place == places.cend()) {
        KeyboardFocus::paintRing(painter, QRectF(rect()), 0);
        return;
    }
    // Just outside the marker as it is drawn, which its hit sphere holds.
    const double scale = PanoramaHotspotNodes::drawnRadius(*hotspot, hotspotInputs(m_inputs))
                         / PanoramaHotspotNodes::hitSphereRadius;
    const double radius = scale * place->rect.width() / 2 + 5;
    const QRectF ring(place->rect.center() - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    KeyboardFocus::paintRing(painter, ring, radius);
}

QList<PanoramaMarkerPlace> Panorama360ViewerView::visibleMarkers() const
{
    if (!m_inputs.interactive || !m_coordinator.hotspotsRoot)
        return {};
    return visibleMarkerPlaces(m_scene, *m_coordinator.hotspotsRoot, size());
}

std::optional<Hotspot> Panorama360ViewerView::markerHotspot(const QUuid &hotspotID) const
{
    return findHotspot(m_inputs.hotspots, hotspotID);
}

void Panorama360ViewerView::pressMarker(const QUuid &hotspotID)
{
    if (!m_inputs.interactive)
        return;
    // Copies: the tap may hand the view new inputs, which replace both.
    const std::optional<Hotspot> hotspot = markerHotspot(hotspotID);
    if (const auto tap = m_inputs.onHotspotTap; hotspot && tap)
        tap(*hotspot);
}

int Panorama360ViewerView::paintedItemCount() const
{
    return int(m_items.order.size());
}

QString Panorama360ViewerView::paintedItemName(int index) const
{
    const std::optional<Hotspot> hotspot = itemHotspot(index);
    return hotspot ? markerAccessibleName(*hotspot, *this) : QString();
}

QRect Panorama360ViewerView::paintedItemRect(int index) const
{
    const std::optional<Hotspot> hotspot = itemHotspot(index);
    if (!hotspot || !m_coordinator.hotspotsRoot)
        return {};
    double x = 0.0, y = 0.0, z = 0.0;
    PanoramaHotspotNodes::markerPosition(hotspot->yaw, hotspot->pitch, x, y, z);
    const std::optional<QRectF> place =
        markerRect(m_scene, *m_coordinator.hotspotsRoot, QVector3D(float(x), float(y), float(z)), size());
    // Behind the camera: nowhere on screen.
    return place ? place->toAlignedRect() : QRect();
}

void Panorama360ViewerView::pressPaintedItem(int index)
{
    if (const std::optional<Hotspot> hotspot = itemHotspot(index))
        pressMarker(hotspot->id);
}

std::optional<int> Panorama360ViewerView::paintedItemAt(QPointF position) const
{
    for (const PanoramaMarkerPlace &place : visibleMarkers()) {
        if (place.rect.contains(position))
            return m_items.indexOf.value(place.hotspotID);
    }
    return std::nullopt;
}

QString Panorama360ViewerView::paintedItemKey(int index) const
{
    if (index < 0 || index >= m_items.order.size())
        return QString();
    return m_items.hotspots[m_items.order[index]].id.toString(QUuid::WithoutBraces);
}

std::optional<int> Panorama360ViewerView::paintedItemOfKey(const QString &key) const
{
    const auto found = m_items.indexOf.constFind(QUuid::fromString(key));
    return found == m_items.indexOf.cend() ? std::nullopt : std::optional(*found);
}

QList<int> Panorama360ViewerView::drawnPaintedItems() const
{
    QList<int> drawn;
    for (const QUuid &id : m_hotspotNodes.shownMarkers()) {
        if (const auto item = m_items.indexOf.constFind(id); item != m_items.indexOf.cend())
            drawn.append(*item);
    }
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    return drawn;
}

void Panorama360ViewerView::revealPaintedItem(int index)
{
    const std::optional<Hotspot> hotspot = itemHotspot(index);
    SceneNode *sphere = m_coordinator.sphereNode;
    if (!hotspot || !sphere)
        return;
    const double now = m_scene.clock().now();
    // While the view turns to another marker, what it shows now says nothing
    // of where it stops.
    if (sphere->presentedEulerAngles(now) == sphere->eulerAngles()) {
        // Clear of the controls and panels along the edges of the view.
        const QMarginsF edges(width() / 5.0, height() / 5.0, width() / 5.0, height() / 5.0);
        const QRectF clear = QRectF(rect()).marginsRemoved(edges);
        const QList<PanoramaMarkerPlace> places = visibleMarkers();
        if (std::any_of(places.cbegin(), places.cend(), [&](const PanoramaMarkerPlace &place) {
                return place.hotspotID == hotspot->id && clear.contains(place.rect.center());
            }))
            return;
    }
    // Facing the marker as the station's initial direction faces its own,
    // the short way round.
    const SceneVector e = sphere->eulerAngles();
    const double yaw = e.y + std::remainder(hotspot->yaw - std::numbers::pi - e.y, 2 * std::numbers::pi);
    sphere->animateEulerAngles({-hotspot->pitch, yaw, 0.0}, revealSeconds, now);
    update();
}

std::optional<QRect> Panorama360ViewerView::readingPlace() const
{
    // The view spans the window: its own rectangle would read before all
    // the controls over it, and on one line with every one of them.
    const QList<PanoramaMarkerPlace> places = visibleMarkers();
    return places.isEmpty() ? QRect(rect().center(), QSize(1, 1)) : places.front().rect.toAlignedRect();
}

void Panorama360ViewerView::announceMarkerChanges()
{
    if (!QAccessible::isActive())
        return;
    const QList<QUuid> shown = m_hotspotNodes.shownMarkers();
    if (shown == m_announcedMarkers)
        return;
    m_announcedMarkers = shown;
    QAccessibleEvent event(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

void Panorama360ViewerView::scheduleFrame()
{
    if (!m_scene.isAnimating() || m_frameTimer.isActive())
        return;
    // Frames that take longer than the interval (a software renderer at full
    // size) follow each other at once instead of waiting a whole interval more.
    const qint64 spent = m_frameClock.isValid() ? m_frameClock.elapsed() : 0;
    m_frameTimer.start(int(std::max<qint64>(0, frameIntervalMs - spent)));
}

void Panorama360ViewerView::releaseGL()
{
    m_renderer.releaseResources();
}

void Panorama360ViewerView::resizeEvent(QResizeEvent *event)
{
    PaintedItemWidget::resizeEvent(event);
    showMarkersInView();
}

void Panorama360ViewerView::mousePressEvent(QMouseEvent *event)
{
    if (!m_inputs.interactive || event->button() != Qt::LeftButton) {
        QOpenGLWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPosition = event->position();
    event->accept();
}

void Panorama360ViewerView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed) {
        QOpenGLWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF delta = event->position() - m_pressPosition;
    // Translation in the view's own orientation: y grows upward.
    const QPointF translation(delta.x(), -delta.y());
    if (!m_dragging) {
        if (delta.manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        m_coordinator.handlePan(Coordinator::PanState::began, translation);
        return;
    }
    m_coordinator.handlePan(Coordinator::PanState::changed, translation);
    showMarkersInView();
    update();
}

void Panorama360ViewerView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton) {
        QOpenGLWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    if (m_dragging)
        m_coordinator.handlePan(Coordinator::PanState::ended, {});
    else
        m_coordinator.handleClick(event->position(), size());
    m_dragging = false;
}
