#include "media/panorama/scene/Scene.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;

// Runs `action` on a fresh node at time 0 and reads it at the given times.
class SceneActionTiming : public ::testing::Test
{
protected:
    SceneNode &node() { return *m_node; }
    void run(SceneAction::Ptr action, const QString &key = {}) { m_node->runAction(std::move(action), 0.0, key); }
    void at(double time) { m_node->advanceActions(time); }

    std::unique_ptr<SceneNode> m_node = std::make_unique<SceneNode>(QStringLiteral("n"));
};

TEST_F(SceneActionTiming, linearFadeIsProportionalAndEndsExactly)
{
    run(SceneAction::fadeOpacity(0.0, 0.4));
    at(0.1);
    EXPECT_NEAR(node().opacity(), 0.75, 1e-12);
    at(0.3);
    EXPECT_NEAR(node().opacity(), 0.25, 1e-12);
    at(0.5);
    EXPECT_DOUBLE_EQ(node().opacity(), 0.0);
    EXPECT_FALSE(node().hasActions());
}

TEST_F(SceneActionTiming, easingCurvesStayBehindOrAheadOfLinear)
{
    EXPECT_LT(sceneEase(SceneTimingMode::EaseIn, 0.25), 0.25);
    EXPECT_GT(sceneEase(SceneTimingMode::EaseOut, 0.25), 0.25);
    EXPECT_NEAR(sceneEase(SceneTimingMode::EaseInEaseOut, 0.5), 0.5, 1e-6);
    for (auto mode : {SceneTimingMode::EaseIn, SceneTimingMode::EaseOut, SceneTimingMode::EaseInEaseOut}) {
        EXPECT_DOUBLE_EQ(sceneEase(mode, 0.0), 0.0);
        EXPECT_NEAR(sceneEase(mode, 1.0), 1.0, 1e-9);
    }
}

TEST_F(SceneActionTiming, fadeStartsFromTheOpacityAtItsFirstStep)
{
    node().setOpacity(0.3);
    run(SceneAction::fadeOpacity(1.0, 0.2, SceneTimingMode::EaseIn));
    at(0.0);
    EXPECT_DOUBLE_EQ(node().opacity(), 0.3);
    at(0.2);
    EXPECT_DOUBLE_EQ(node().opacity(), 1.0);
}

TEST_F(SceneActionTiming, sequenceWaitAndRepeatFollowTheClockAcrossLargeSteps)
{
    // Wait 1.3 s, then a 2.6 s ring cycle for ever.
    using A = SceneAction;
    const auto cycle = A::sequence({A::group({A::scaleTo(1.0, 0.0), A::fadeOpacity(0.75, 0.0)}),
                                    A::group({A::scaleTo(3.0, 2.6), A::fadeOpacity(0.0, 2.6)})});
    node().setOpacity(0.0);
    run(A::sequence({A::wait(1.3), A::repeatForever(cycle)}));
    at(1.0);
    EXPECT_DOUBLE_EQ(node().opacity(), 0.0);
    at(1.3 + 1.3);
    EXPECT_NEAR(node().scale(), 2.0, 1e-9);
    EXPECT_NEAR(node().opacity(), 0.375, 1e-9);
    // Ten cycles later in one step: the same phase.
    at(1.3 + 26.0 + 1.3);
    EXPECT_NEAR(node().scale(), 2.0, 1e-6);
    EXPECT_TRUE(node().hasActions());
}

TEST_F(SceneActionTiming, keyedActionReplacesAndUnkeyedRunSideBySide)
{
    run(SceneAction::fadeOpacity(0.0, 1.0), QStringLiteral("fade"));
    run(SceneAction::fadeOpacity(1.0, 1.0), QStringLiteral("fade"));
    at(0.5);
    EXPECT_DOUBLE_EQ(node().opacity(), 1.0);
    node().removeAction(QStringLiteral("fade"));
    run(SceneAction::scaleTo(2.0, 1.0));
    run(SceneAction::fadeOpacity(0.0, 1.0));
    at(1.0);
    EXPECT_DOUBLE_EQ(node().scale(), 2.0);
    EXPECT_DOUBLE_EQ(node().opacity(), 0.0);
}

TEST_F(SceneActionTiming, rotateByIsRelativeToAnglesSetMeanwhile)
{
    run(SceneAction::repeatForever(SceneAction::rotateBy({0.0, -2.0 * pi, 0.0}, 40.0)));
    at(10.0);
    EXPECT_NEAR(node().eulerAngles().y, -pi / 2, 1e-12);
    node().setEulerAngles({0.2, 1.0, 0.0});
    at(20.0);
    EXPECT_NEAR(node().eulerAngles().y, 1.0 - pi / 2, 1e-12);
    EXPECT_DOUBLE_EQ(node().eulerAngles().x, 0.2);
}

TEST_F(SceneActionTiming, aDayOfRotationKeepsItsPrecision)
{
    run(SceneAction::repeatForever(SceneAction::rotateBy({0.0, -2.0 * pi, 0.0}, 40.0)));
    // One frame every 1/60 s for a day, in steps of an hour to keep the test fast
    // but still crossing thousands of periods.
    for (int hour = 1; hour <= 24; ++hour)
        at(hour * 3600.0);
    at(24 * 3600.0 + 10.0);
    const double turns = (24 * 3600.0 + 10.0) / 40.0;
    EXPECT_NEAR(node().eulerAngles().y, -2.0 * pi * turns, 1e-8);
    EXPECT_NEAR(std::remainder(node().eulerAngles().y, 2.0 * pi), -pi / 2, 1e-8);
}

TEST(SceneNodeTree, opacityMultipliesDownAndBillboardsFaceTheCamera)
{
    SceneNode root;
    SceneNode *parent = root.addChild(std::make_unique<SceneNode>(QStringLiteral("parent")));
    parent->setOpacity(0.5);
    parent->setEulerAngles({0.3, 1.2, 0.0});
    SceneNode *child = parent->addChild(std::make_unique<SceneNode>(QStringLiteral("child")));
    child->setOpacity(0.4);
    child->setPosition({0.0, 0.0, 9.0});
    child->setBillboard(true);
    EXPECT_DOUBLE_EQ(child->worldOpacity(), 0.2);
    const QMatrix4x4 world = child->worldTransform(0.0);
    // Billboard: no rotation left, position still turned with the parent.
    EXPECT_NEAR(world.mapVector(QVector3D(1, 0, 0)).x(), 1.0, 1e-6);
    EXPECT_NEAR(world.map(QVector3D()).length(), 9.0, 1e-5);
    EXPECT_EQ(root.childNamed(QStringLiteral("parent")), parent);
    EXPECT_EQ(root.childNamed(QStringLiteral("child")), nullptr);
}

TEST(SceneNodeTree, eulerAnglesApplyAsRxRyRz)
{
    SceneNode node;
    node.setEulerAngles({pi / 2, pi / 2, 0.0});
    // Ry first turns +Z to +X; Rx then leaves +X alone.
    const QVector3D p = node.localTransform(0.0).map(QVector3D(0, 0, 1));
    EXPECT_NEAR(p.x(), 1.0, 1e-6);
    EXPECT_NEAR(p.y(), 0.0, 1e-6);
    node.setEulerAngles({pi / 2, 0.0, pi / 2});
    // Rz turns +X to +Y; Rx then turns +Y to +Z.
    const QVector3D q = node.localTransform(0.0).map(QVector3D(1, 0, 0));
    EXPECT_NEAR(q.z(), 1.0, 1e-6);
}

TEST(SceneNodeTree, animatedAnglesReadTheTargetAtOnceAndDrawTheWayThere)
{
    SceneNode node;
    node.setEulerAngles({0.4, 1.0, 0.2});
    node.animateEulerAngles({0.0, 1.0, 0.0}, 0.35, 10.0);
    EXPECT_EQ(node.eulerAngles(), (SceneVector{0.0, 1.0, 0.0}));
    EXPECT_NEAR(node.presentedEulerAngles(10.0).x, 0.4, 1e-12);
    EXPECT_NEAR(node.presentedEulerAngles(10.175).x, 0.2, 1e-12);
    EXPECT_EQ(node.presentedEulerAngles(10.35), node.eulerAngles());
}

TEST(SceneHitTesting, nearestFirstAndInvisibleNodesIncluded)
{
    Scene scene;
    SceneNode *camera = scene.rootNode().addChild(std::make_unique<SceneNode>());
    camera->setCamera(std::make_unique<SceneCamera>());
    scene.setPointOfView(camera);
    auto addNode = [&scene](const QString &name, std::shared_ptr<SceneGeometry> g, double z, double opacity) {
        SceneNode *node = scene.rootNode().addChild(std::make_unique<SceneNode>(name));
        node->setGeometry(std::move(g));
        node->setPosition({0.0, 0.0, z});
        node->setOpacity(opacity);
        node->setBillboard(true);
        return node;
    };
    addNode(QStringLiteral("far"), SceneGeometry::plane(1, 1), -9.0, 1.0);
    addNode(QStringLiteral("hit"), SceneGeometry::sphere(0.9, 12), -8.0, 0.001);
    addNode(QStringLiteral("around"), SceneGeometry::sphere(10.0, 96), 0.0, 1.0);
    addNode(QStringLiteral("aside"), SceneGeometry::plane(1, 1), -9.0, 1.0)->setPosition({5.0, 0.0, -9.0});

    const auto hits = scene.hitTest(QPointF(100, 50), QSizeF(200, 100));
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].node->name(), QStringLiteral("hit"));
    EXPECT_NEAR(hits[0].distance, 7.1, 1e-4);
    EXPECT_EQ(hits[1].node->name(), QStringLiteral("far"));
    EXPECT_EQ(hits[2].node->name(), QStringLiteral("around"));
    EXPECT_NEAR(hits[2].distance, 10.0, 1e-4);
}

TEST(SceneCameraAnimation, fieldOfViewReadsTargetAndSnapsWhenSetDirectly)
{
    SceneCamera camera;
    camera.setFieldOfView(75.0);
    camera.animateFieldOfView(90.0, 0.25, 1.0);
    EXPECT_DOUBLE_EQ(camera.fieldOfView(), 90.0);
    EXPECT_DOUBLE_EQ(camera.presentedFieldOfView(1.125), 82.5);
    camera.setFieldOfView(60.0);
    EXPECT_DOUBLE_EQ(camera.presentedFieldOfView(1.125), 60.0);
    EXPECT_FALSE(camera.isAnimating(1.125));
}

} // namespace
