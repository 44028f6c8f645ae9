#include "PanoramaFixtures.h"

#include "media/panorama/PanoramaHotspotNodes.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace PanoramaFixtures;

namespace {

constexpr double pi = std::numbers::pi;

// The update cycle and input of a view that is never shown: everything but
// the photo itself works without a GL context.
class PanoramaUpdateCycle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view = std::make_unique<Panorama360ViewerView>(m_inputs, photoCache());
        clock().setTime(100.0);
    }

    void update() { m_view->setInputs(m_inputs); }
    MediaClock &clock() { return m_view->scene().clock(); }
    const SceneNode &sphere() { return m_view->sphere(); }
    const SceneCamera &camera() { return *m_view->scene().pointOfView()->camera(); }
    void at(double time)
    {
        clock().setTime(time);
        m_view->scene().advance();
    }
    void mouse(QEvent::Type type, QPointF position)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, m_view->mapToGlobal(position), Qt::LeftButton, buttons, {});
        QCoreApplication::sendEvent(m_view.get(), &event);
    }
    void click(QPointF position)
    {
        mouse(QEvent::MouseButtonPress, position);
        mouse(QEvent::MouseButtonRelease, position);
    }
    // A drag by (dx, dy) pixels, begun past the drag threshold.
    void drag(double dx, double dy)
    {
        const QPointF start(100, 100);
        const QPointF begun = start + QPointF(QApplication::startDragDistance() + 1, 0);
        mouse(QEvent::MouseButtonPress, start);
        mouse(QEvent::MouseMove, begun);
        mouse(QEvent::MouseMove, begun + QPointF(dx, dy));
        mouse(QEvent::MouseButtonRelease, begun + QPointF(dx, dy));
    }
    // Wheel steps of the scroll wheel (120 each) over the view, upward.
    void wheel(int steps)
    {
        QWheelEvent event(QPointF(10, 10), m_view->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, 120 * steps),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_view.get(), &event);
    }

    // Where a point of the sphere's frame is drawn in a view of the given size.
    QPointF onScreen(SceneVector point, QSizeF size)
    {
        const double now = clock().now();
        const QVector3D world = sphere().worldTransform(now).map(QVector3D(float(point.x), float(point.y), float(point.z)));
        const QVector3D ndc = (m_view->scene().projection(size.width() / size.height()) * m_view->scene().viewMatrix())
                                  .map(world);
        return {std::round((ndc.x() + 1.0) / 2.0 * size.width()), std::round((1.0 - ndc.y()) / 2.0 * size.height())};
    }

    static SceneVector sphereFramePoint(const Hotspot &hotspot)
    {
        SceneVector point;
        PanoramaHotspotNodes::markerPosition(hotspot.yaw, hotspot.pitch, point.x, point.y, point.z);
        return point;
    }

    Panorama360ViewerView::Inputs m_inputs;
    std::unique_ptr<Panorama360ViewerView> m_view;
};

TEST_F(PanoramaUpdateCycle, fieldOfViewFollowsOnlyANewFovBeyondHalfADegreeAndTheWheelSaysWhereItZoomed)
{
    std::vector<double> reported;
    m_inputs.onFieldOfViewChanged = [&reported](double fov) { reported.push_back(fov); };
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 75.0);
    m_inputs.fov = 75.5;
    update();
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 75.0);
    m_inputs.fov = 90.0;
    update();
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 90.0);
    EXPECT_DOUBLE_EQ(camera().presentedFieldOfView(100.125), 82.5);

    wheel(3);
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 84.0);
    EXPECT_EQ(reported, std::vector<double>{84.0});
    update();
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 84.0) << "an update for something else keeps the zoom";
    m_inputs.fov = 70.0;
    update();
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 70.0);

    wheel(500);
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 20.0);
    wheel(-500);
    EXPECT_DOUBLE_EQ(camera().fieldOfView(), 120.0);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 120.0);
}

TEST_F(PanoramaUpdateCycle, horizonResetKeepsHeadingAndActsOnlyOnRisingTriggers)
{
    m_view->resize(320, 240);
    drag(-300, -80); // up and to the left: tilted by 0.4 and turned by 1.5
    const SceneVector tilted = sphere().eulerAngles();
    ASSERT_NEAR(tilted.x, 0.4, 1e-6);
    m_inputs.resetHorizonTrigger = 1;
    update();
    EXPECT_EQ(sphere().eulerAngles(), (SceneVector{0.0, tilted.y, 0.0}));
    EXPECT_NEAR(sphere().presentedEulerAngles(100.175).x, tilted.x / 2, 1e-12);

    drag(0, -60);
    const double x = sphere().eulerAngles().x;
    ASSERT_NEAR(x, 0.3, 1e-6);
    m_inputs.resetHorizonTrigger = 0;
    update();
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().x, x);
    m_inputs.resetHorizonTrigger = 1;
    update();
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().x, x);
    m_inputs.resetHorizonTrigger = 2;
    update();
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().x, 0.0);
}

TEST_F(PanoramaUpdateCycle, viewResetReappliesThePhotoAndPhotoCheckComparesUrls)
{
    // No photo: the grey of the material stays, nothing is applied.
    EXPECT_EQ(sphere().geometry()->firstMaterial().color, QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3));
    m_inputs.resetViewTrigger = 2;
    update();
    // A reset with no photo shows the placeholder at once, without a turn.
    EXPECT_EQ(sphere().geometry()->firstMaterial().color, QColor::fromRgbF(0.15f, 0.15f, 0.15f));
    EXPECT_DOUBLE_EQ(sphere().opacity(), 1.0);

    QTemporaryDir dir;
    m_inputs.imageURL = writePhoto(dir, QStringLiteral("a.png"), gradientPhoto(64, 32));
    update();
    EXPECT_TRUE(m_view->isLoadingPhoto());
    // Loading: the old picture fades out. The same URL and reset trigger
    // again apply nothing: a fade started over would not be over in time.
    at(100.2);
    update();
    at(100.35);
    EXPECT_DOUBLE_EQ(sphere().opacity(), 0.0);
}

TEST_F(PanoramaUpdateCycle, autoRotationTurnsLeftAndRestartsWithTheDurationInForce)
{
    m_inputs.autoRotate = true;
    m_inputs.autoRotateDurationSeconds = 40.0;
    update();
    at(110.0);
    EXPECT_NEAR(sphere().eulerAngles().y, -pi / 2, 1e-9);

    m_inputs.autoRotateDurationSeconds = 80.0;
    update();
    at(120.0);
    EXPECT_NEAR(sphere().eulerAngles().y, -pi, 1e-9) << "a running rotation keeps its duration";

    m_inputs.autoRotate = false;
    update();
    at(130.0);
    EXPECT_NEAR(sphere().eulerAngles().y, -pi, 1e-9);

    m_inputs.autoRotate = true;
    update();
    at(150.0);
    EXPECT_NEAR(sphere().eulerAngles().y, -pi - pi / 2, 1e-9);
}

TEST_F(PanoramaUpdateCycle, dragTurnsAfterTheThresholdAndReportsTheSphereAngle)
{
    m_view->resize(320, 240);
    std::vector<double> reported;
    m_inputs.onYawChanged = [&reported](double y) { reported.push_back(y); };
    update();
    drag(-200, 0);
    const double before = sphere().eulerAngles().y;
    ASSERT_EQ(reported.size(), 1u);
    reported.clear();

    mouse(QEvent::MouseButtonPress, QPointF(100, 100));
    mouse(QEvent::MouseMove, QPointF(101, 100));
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().y, before);
    mouse(QEvent::MouseMove, QPointF(120, 100)); // begins: measured from here
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().y, before);
    mouse(QEvent::MouseMove, QPointF(140, 90));
    // The products are formed in single precision, then widened.
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().y, before - double(20.0f * 0.005f));
    EXPECT_DOUBLE_EQ(sphere().eulerAngles().x, double(10.0f * 0.005f));
    mouse(QEvent::MouseButtonRelease, QPointF(140, 90));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_DOUBLE_EQ(reported[0], sphere().eulerAngles().y);

    // A background panorama ignores the pointer.
    m_inputs.interactive = false;
    update();
    mouse(QEvent::MouseButtonPress, QPointF(100, 100));
    mouse(QEvent::MouseMove, QPointF(200, 100));
    mouse(QEvent::MouseMove, QPointF(250, 100));
    mouse(QEvent::MouseButtonRelease, QPointF(250, 100));
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(PanoramaUpdateCycle, hitWalkFindsHotspotsByNameSkippingUnknownIdsAndPending)
{
    // The unturned sphere faces yaw pi: the centre of a 320x240 view.
    const QSizeF size(320, 240);
    m_view->resize(size.toSize());
    const QUuid target = QUuid::createUuid();
    Hotspot front = navigationHotspot(pi, 0.0, target);
    Hotspot pending = navigationHotspot(pi - 0.4, 0.0);
    pending.isPending = true;
    m_inputs.hotspots = {front, pending};
    m_inputs.hotspotStyle = HotspotStyle::haloRipple;
    m_inputs.stationNames[target] = QStringLiteral("A rather long station name");
    std::vector<QUuid> tapped;
    m_inputs.onHotspotTap = [&tapped](const Hotspot &h) { tapped.push_back(h.id); };
    update();

    ASSERT_EQ(onScreen(sphereFramePoint(front), size), QPointF(160, 120));
    click(QPointF(160, 120));
    ASSERT_EQ(tapped.size(), 1u);
    EXPECT_EQ(tapped[0], front.id);

    // Outside the ripple planes but inside the hit sphere (about 5.2 degrees off).
    click(QPointF(160 + 14, 120));
    EXPECT_EQ(tapped.size(), 2u);
    // On the label only, below and to the right of the marker.
    click(QPointF(160 + 17, 120 + 6));
    EXPECT_EQ(tapped.size(), 3u);

    // The pending hotspot has no node: a click right on its place selects nothing.
    const QPointF pendingPlace = onScreen(sphereFramePoint(pending), size);
    ASSERT_TRUE(QRectF(QPointF(0, 0), size).contains(pendingPlace)) << "the pending hotspot is in view";
    click(pendingPlace);
    EXPECT_EQ(tapped.size(), 3u);

    // A node of an unknown hotspot between the camera and the front hotspot
    // (the unturned sphere's frame is the scene's) is passed over; the one
    // behind it counts.
    auto stranger = std::make_unique<SceneNode>(PanoramaHotspotNodes::nodeName(QUuid::createUuid()));
    stranger->setGeometry(SceneGeometry::sphere(0.5, 12));
    stranger->setPosition(sphereFramePoint(front) * 0.5);
    const SceneNode *strangerNode = stranger.get();
    m_view->scene().rootNode().addChild(std::move(stranger));
    const std::vector<SceneHit> hits = m_view->scene().hitTest(QPointF(160, 120), size);
    ASSERT_FALSE(hits.empty());
    ASSERT_EQ(hits.front().node, strangerNode) << "the unknown hotspot is the nearest hit";
    click(QPointF(160, 120));
    EXPECT_EQ(tapped.size(), 4u);
    EXPECT_EQ(tapped.back(), front.id);

    // A tap that hands the view new inputs, without the hotspot, as a
    // station change does: the tap still reports the hotspot it was on.
    m_inputs.onHotspotTap = [this, &tapped](const Hotspot &h) {
        Panorama360ViewerView::Inputs next = m_inputs;
        next.hotspots.clear();
        next.onHotspotTap = nullptr;
        m_view->setInputs(next);
        tapped.push_back(h.id);
    };
    update();
    click(QPointF(160, 120));
    ASSERT_EQ(tapped.size(), 5u);
    EXPECT_EQ(tapped.back(), front.id);
    EXPECT_EQ(markerNode(*m_view, front.id), nullptr);
    // No callback: nothing.
    click(QPointF(160, 120));
    EXPECT_EQ(tapped.size(), 5u);
}

TEST_F(PanoramaUpdateCycle, hideHotspotsEmptiesTheRoot)
{
    m_inputs.hotspots = {navigationHotspot(pi, 0.0), navigationHotspot(pi - 0.3, 0.0)};
    update();
    EXPECT_TRUE(markerNode(*m_view, m_inputs.hotspots[0].id));
    EXPECT_TRUE(markerNode(*m_view, m_inputs.hotspots[1].id));
    m_inputs.hideHotspots = true;
    update();
    EXPECT_FALSE(markerNode(*m_view, m_inputs.hotspots[0].id));
    EXPECT_FALSE(markerNode(*m_view, m_inputs.hotspots[1].id));
}

} // namespace
