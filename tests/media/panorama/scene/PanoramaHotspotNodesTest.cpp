#include "media/images/HotspotMarkerImages.h"
#include "media/panorama/PanoramaHotspotNodes.h"
#include "media/panorama/scene/SceneNode.h"
#include "model/Palette.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

Hotspot hotspotOf(HotspotKind kind, QUuid target = QUuid::createUuid())
{
    Hotspot hotspot;
    hotspot.id = QUuid::createUuid();
    hotspot.kind = kind;
    hotspot.targetStationID = target;
    return hotspot;
}

HotspotAttachment attachmentOf(AttachmentKind kind)
{
    HotspotAttachment attachment;
    attachment.kind = kind;
    return attachment;
}

std::vector<int> renderingOrders(const SceneNode &group)
{
    std::vector<int> orders;
    for (const auto &child : group.children())
        orders.push_back(child->renderingOrder());
    return orders;
}

TEST(PanoramaHotspotNodes, classicAndRippleLooksHaveTheirChildren)
{
    PanoramaHotspotNodes::Inputs inputs;
    const Hotspot navigation = hotspotOf(HotspotKind::navigation);
    const Hotspot info = hotspotOf(HotspotKind::info);

    auto classic = PanoramaHotspotNodes::makeHotspotNode(navigation, inputs, 0.0);
    EXPECT_EQ(renderingOrders(*classic), (std::vector<int>{99, 101, 0}));
    EXPECT_DOUBLE_EQ(classic->children()[0]->opacity(), 0.7);
    EXPECT_DOUBLE_EQ(classic->children()[2]->opacity(), 0.001);
    EXPECT_EQ(classic->children()[2]->geometry()->radius(), 0.9);

    inputs.hotspotStyle = HotspotStyle::haloRipple;
    auto ripple = PanoramaHotspotNodes::makeHotspotNode(navigation, inputs, 0.0);
    EXPECT_EQ(renderingOrders(*ripple), (std::vector<int>{102, 100, 100, 0}));
    EXPECT_DOUBLE_EQ(ripple->children()[1]->opacity(), 0.0);
    auto infoNode = PanoramaHotspotNodes::makeHotspotNode(info, inputs, 0.0);
    EXPECT_EQ(renderingOrders(*infoNode), (std::vector<int>{99, 101, 0}));

    // Every node of the group carries the hotspot's name; planes face the camera.
    const QString name = QStringLiteral("hotspot_") + navigation.id.toString(QUuid::WithoutBraces).toUpper();
    EXPECT_EQ(ripple->name(), name);
    for (const auto &child : ripple->children())
        EXPECT_EQ(child->name(), name);
    EXPECT_TRUE(ripple->children()[0]->isBillboard());
}

TEST(PanoramaHotspotNodes, symbolNeedsExactlyOneAttachmentKind)
{
    Hotspot info = hotspotOf(HotspotKind::info);
    EXPECT_EQ(PanoramaHotspotNodes::symbolName(info), std::nullopt);
    info.attachments = {attachmentOf(AttachmentKind::pdf), attachmentOf(AttachmentKind::pdf),
                        attachmentOf(AttachmentKind::pdf)};
    EXPECT_EQ(PanoramaHotspotNodes::symbolName(info), QStringLiteral("doc.richtext.fill"));
    info.attachments.append(attachmentOf(AttachmentKind::image));
    EXPECT_EQ(PanoramaHotspotNodes::symbolName(info), std::nullopt);
}

TEST(PanoramaHotspotNodes, labelsJoinNumberAndNameOnlyForNavigation)
{
    PanoramaHotspotNodes::Inputs inputs;
    const QUuid target = QUuid::createUuid();
    const Hotspot navigation = hotspotOf(HotspotKind::navigation, target);
    EXPECT_EQ(PanoramaHotspotNodes::labelText(navigation, inputs), std::nullopt);
    inputs.stationNumbers[target] = QStringLiteral("3");
    EXPECT_EQ(PanoramaHotspotNodes::labelText(navigation, inputs), std::nullopt);
    inputs.stationNames[target] = QStringLiteral("Salon");
    EXPECT_EQ(PanoramaHotspotNodes::labelText(navigation, inputs), QStringLiteral("3 \u00B7 Salon"));
    inputs.stationNumbers[target] = QString();
    EXPECT_EQ(PanoramaHotspotNodes::labelText(navigation, inputs), QStringLiteral("Salon"));
    Hotspot info = navigation;
    info.kind = HotspotKind::info;
    EXPECT_EQ(PanoramaHotspotNodes::labelText(info, inputs), std::nullopt);
    inputs.showHotspotLabels = false;
    EXPECT_EQ(PanoramaHotspotNodes::labelText(navigation, inputs), std::nullopt);

    inputs.showHotspotLabels = true;
    auto group = PanoramaHotspotNodes::makeHotspotNode(navigation, inputs, 0.0);
    const SceneNode &label = *group->children()[2];
    EXPECT_EQ(label.renderingOrder(), 102);
    EXPECT_DOUBLE_EQ(label.position().y, -0.7);
    EXPECT_DOUBLE_EQ(label.geometry()->height(), 0.4);
}

// The picture on a plane of the group, by the memo identity of its image.
qint64 imageOf(const SceneNode &plane)
{
    return plane.geometry()->firstMaterial().texture->image().cacheKey();
}

struct LookCase
{
    const char *name;
    HotspotKind kind;
    bool targetVisited;
    std::vector<AttachmentKind> attachments;
    HotspotStyle style;
    bool brown; // else gold
    HotspotGlyph glyph;
    const char *symbol; // nullptr: none
};

void PrintTo(const LookCase &look, std::ostream *out)
{
    *out << look.name;
}

class HotspotLook : public ::testing::TestWithParam<LookCase>
{
};

TEST_P(HotspotLook, colourGlyphAndPlanesFollowKindVisitAndStyle)
{
    const LookCase look = GetParam();
    Hotspot hotspot = hotspotOf(look.kind);
    for (AttachmentKind kind : look.attachments)
        hotspot.attachments.append(attachmentOf(kind));
    PanoramaHotspotNodes::Inputs inputs;
    inputs.hotspotStyle = look.style;
    inputs.showHotspotLabels = false;
    if (look.targetVisited)
        inputs.visitedStationIDs.insert(hotspot.targetStationID);

    const auto group = PanoramaHotspotNodes::makeHotspotNode(hotspot, inputs, 0.0);
    const QColor color = look.brown ? paletteBrown() : paletteGold();
    const auto &children = group->children();
    if (look.kind == HotspotKind::navigation && look.style == HotspotStyle::haloRipple) {
        ASSERT_EQ(children.size(), 4u);
        EXPECT_EQ(imageOf(*children[0]), coreMarkerImage(color).cacheKey());
        EXPECT_EQ(imageOf(*children[1]), rippleRingImage(color).cacheKey());
        EXPECT_EQ(imageOf(*children[2]), rippleRingImage(color).cacheKey());
    } else {
        ASSERT_EQ(children.size(), 3u);
        const std::optional<QString> symbol =
            look.symbol ? std::optional<QString>(QString::fromLatin1(look.symbol)) : std::nullopt;
        EXPECT_EQ(imageOf(*children[0]), classicHaloImage(color).cacheKey());
        EXPECT_EQ(imageOf(*children[1]), markerIconImage(color, look.glyph, symbol).cacheKey());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Looks, HotspotLook,
    ::testing::Values(
        LookCase{"unvisitedNavigation", HotspotKind::navigation, false, {}, HotspotStyle::classic, false,
                 HotspotGlyph::arrow, nullptr},
        LookCase{"visitedNavigation", HotspotKind::navigation, true, {}, HotspotStyle::classic, true,
                 HotspotGlyph::check, nullptr},
        LookCase{"infoWithOneKind", HotspotKind::info, false,
                 {AttachmentKind::video, AttachmentKind::video}, HotspotStyle::classic, true, HotspotGlyph::info,
                 "play.rectangle.fill"},
        LookCase{"infoWithTwoKinds", HotspotKind::info, true, {AttachmentKind::pdf, AttachmentKind::link},
                 HotspotStyle::classic, true, HotspotGlyph::info, nullptr},
        LookCase{"infoStaysClassicInRippleStyle", HotspotKind::info, false, {AttachmentKind::sound},
                 HotspotStyle::haloRipple, true, HotspotGlyph::info, "speaker.wave.2.fill"},
        LookCase{"unvisitedRipple", HotspotKind::navigation, false, {}, HotspotStyle::haloRipple, false,
                 HotspotGlyph::arrow, nullptr},
        LookCase{"visitedRipple", HotspotKind::navigation, true, {}, HotspotStyle::haloRipple, true,
                 HotspotGlyph::check, nullptr}),
    [](const ::testing::TestParamInfo<LookCase> &info) { return std::string(info.param.name); });

// The expected scale and opacity of a plane at a time, from its animation's
// figures: a breath, a pulse or a ripple.
struct Pose
{
    double scale;
    double opacity;
};

Pose breath(double t)
{
    const double phase = std::fmod(t, 2.2);
    const double p = sceneEase(SceneTimingMode::EaseInEaseOut, std::fmod(phase, 1.1) / 1.1);
    return phase < 1.1 ? Pose{1.0 + 0.35 * p, 0.7 - 0.55 * p} : Pose{1.35 - 0.35 * p, 0.15 + 0.55 * p};
}

Pose pulse(double t)
{
    const double phase = std::fmod(t, 3.0);
    const double p = sceneEase(SceneTimingMode::EaseInEaseOut, std::fmod(phase, 1.5) / 1.5);
    return {phase < 1.5 ? 1.0 + 0.08 * p : 1.08 - 0.08 * p, 1.0};
}

Pose ripple(double t, double delay)
{
    if (t < delay)
        return {1.0, 0.0};
    const double p = sceneEase(SceneTimingMode::EaseOut, std::fmod(t - delay, 2.6) / 2.6);
    return {1.0 + 2.0 * p, 0.75 * (1.0 - p)};
}

void expectPose(const SceneNode &plane, Pose pose, double t, const char *what)
{
    EXPECT_NEAR(plane.scale(), pose.scale, 1e-6) << what << " scale at " << t << " s";
    EXPECT_NEAR(plane.opacity(), pose.opacity, 1e-6) << what << " opacity at " << t << " s";
}

// Times spread over several cycles of every animation, off the instants at
// which a ring starts over.
constexpr double sampleTimes[] = {0.2, 0.55, 0.9, 1.25, 1.5, 1.8, 2.45, 3.1, 3.75, 4.4, 5.35, 6.35, 7.9};

TEST(PanoramaHotspotNodes, classicHaloBreathesEveryTwoPointTwoSeconds)
{
    const auto group =
        PanoramaHotspotNodes::makeHotspotNode(hotspotOf(HotspotKind::info), PanoramaHotspotNodes::Inputs{}, 0.0);
    const SceneNode &halo = *group->children()[0];
    const SceneNode &icon = *group->children()[1];
    expectPose(halo, {1.0, 0.7}, 0.0, "halo");
    for (double t : sampleTimes) {
        group->advanceActions(t);
        expectPose(halo, breath(t), t, "halo");
        expectPose(icon, {1.0, 1.0}, t, "icon");
    }
}

TEST(PanoramaHotspotNodes, rippleCorePulsesAndRingsRippleHalfACycleApart)
{
    PanoramaHotspotNodes::Inputs inputs;
    inputs.hotspotStyle = HotspotStyle::haloRipple;
    // Started at 10 s on the scene clock: the timings run from there; and
    // made 100 s later as if started then, as a marker coming into view is.
    const auto group = PanoramaHotspotNodes::makeHotspotNode(hotspotOf(HotspotKind::navigation), inputs, 10.0);
    const auto late = PanoramaHotspotNodes::makeHotspotNode(hotspotOf(HotspotKind::navigation), inputs, 110.0, 10.0);
    const auto &children = group->children();
    expectPose(*children[2], {1.0, 0.0}, 0.0, "second ring");
    for (double t : sampleTimes) {
        group->advanceActions(10.0 + t);
        expectPose(*children[0], pulse(t), t, "core");
        expectPose(*children[1], ripple(t, 0.0), t, "first ring");
        expectPose(*children[2], ripple(t, 1.3), t, "second ring");
        late->advanceActions(110.0 + t);
        expectPose(*late->children()[0], pulse(100.0 + t), 100.0 + t, "late core");
        expectPose(*late->children()[1], ripple(100.0 + t, 0.0), 100.0 + t, "late first ring");
        expectPose(*late->children()[2], ripple(100.0 + t, 1.3), 100.0 + t, "late second ring");
    }
}

struct PlacementCase
{
    double yaw;
    double pitch;
    double x, y, z;
};

class HotspotPlacement : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(HotspotPlacement, sitsOnTheRadiusNineSphere)
{
    const PlacementCase c = GetParam();
    double x = 0, y = 0, z = 0;
    PanoramaHotspotNodes::markerPosition(c.yaw, c.pitch, x, y, z);
    EXPECT_NEAR(x, c.x, 1e-5);
    EXPECT_NEAR(y, c.y, 1e-5);
    EXPECT_NEAR(z, c.z, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Directions, HotspotPlacement,
                         ::testing::Values(PlacementCase{0, 0, 0, 0, 9}, PlacementCase{pi / 2, 0, -9, 0, 0},
                                           PlacementCase{0, pi / 2, 0, 9, 0}, PlacementCase{2.0, pi / 2, 0, 9, 0},
                                           PlacementCase{pi, 0, 0, 0, -9}),
                         [](const auto &info) {
                             const PlacementCase &c = info.param;
                             return caseName(QStringLiteral("yaw %1 pitch %2").arg(c.yaw).arg(c.pitch));
                         });

// A view of 90 degrees by 90 that faces yaw 0, where hotspotOf() puts its hotspots.
PanoramaHotspotNodes::View facingYawZero()
{
    PanoramaHotspotNodes::View view;
    view.toCamera.rotate(180.0f, 0.0f, 1.0f, 0.0f);
    view.tanHalfHeight = 1.0;
    view.tanHalfWidth = 1.0;
    return view;
}

TEST(PanoramaHotspotNodes, syncSkipsPendingHidesAllAndKeepsAnimationPhase)
{
    SceneNode root(QStringLiteral("hotspotsRoot"));
    PanoramaHotspotNodes nodes;
    PanoramaHotspotNodes::Inputs inputs;
    Hotspot pending = hotspotOf(HotspotKind::navigation);
    pending.isPending = true;
    const Hotspot shown = hotspotOf(HotspotKind::navigation);
    inputs.hotspots = {pending, shown};
    const auto update = [&](double now) {
        nodes.sync(inputs, now);
        nodes.showInView(root, facingYawZero(), now);
    };

    update(0.0);
    ASSERT_EQ(root.children().size(), 1u);
    root.advanceActions(0.55);
    const double haloScale = root.children()[0]->children()[0]->scale();
    EXPECT_GT(haloScale, 1.0);

    // An update with nothing changed continues the breath where it was.
    update(0.55);
    const SceneNode &halo = *root.children()[0]->children()[0];
    EXPECT_DOUBLE_EQ(halo.scale(), haloScale);
    root.advanceActions(1.1);
    EXPECT_NEAR(halo.scale(), 1.35, 1e-9);

    // A change of look starts over.
    inputs.visitedStationIDs.insert(shown.targetStationID);
    update(1.1);
    EXPECT_DOUBLE_EQ(root.children()[0]->children()[0]->scale(), 1.0);

    inputs.hideHotspots = true;
    update(1.2);
    EXPECT_TRUE(root.children().empty());
}

std::vector<QUuid> childIDs(const SceneNode &root)
{
    std::vector<QUuid> ids;
    for (const auto &child : root.children())
        ids.push_back(*PanoramaHotspotNodes::idFromNodeName(child->name()));
    return ids;
}

TEST(PanoramaHotspotNodes, onlyMarkersInViewHaveNodesInTheirOrderAndTakeUpTheirBreathComingIntoView)
{
    SceneNode root(QStringLiteral("hotspotsRoot"));
    PanoramaHotspotNodes nodes;
    PanoramaHotspotNodes::Inputs inputs;
    const auto at = [](double yaw) {
        Hotspot hotspot = hotspotOf(HotspotKind::info);
        hotspot.yaw = yaw;
        return hotspot;
    };
    inputs.hotspots = {at(0.2), at(pi), at(-0.2)};
    nodes.sync(inputs, 0.0);
    nodes.showInView(root, facingYawZero(), 0.0);
    EXPECT_EQ(childIDs(root), (std::vector<QUuid>{inputs.hotspots[0].id, inputs.hotspots[2].id}));
    // A marker moved in view keeps its nodes.
    const SceneNode *moving = root.children()[0].get();
    inputs.hotspots[0].yaw = 0.3;
    nodes.sync(inputs, 0.1);
    nodes.showInView(root, facingYawZero(), 0.1);
    EXPECT_EQ(root.children()[0].get(), moving);
    EXPECT_NEAR(root.children()[0]->position().x, -9 * std::sin(0.3), 1e-5);

    PanoramaHotspotNodes::View behind = facingYawZero();
    behind.toCamera = QMatrix4x4();
    nodes.showInView(root, behind, 5.0);
    ASSERT_EQ(childIDs(root), std::vector<QUuid>{inputs.hotspots[1].id});
    root.advanceActions(5.55);
    expectPose(*root.children()[0]->children()[0], breath(5.55), 5.55, "halo");
}

struct EdgeCase
{
    const char *name;
    double yaw;
    double pitch;
    bool labelled; // a navigation marker with a long label, else a bare info marker
    bool drawn;
};

class MarkerAtTheEdge : public ::testing::TestWithParam<EdgeCase>
{
};

// Past an edge of the view, a marker whose halo or label still reaches into
// it has its nodes already: it does not pop in once its centre comes in.
TEST_P(MarkerAtTheEdge, hasNodesWhileWhatItDrawsReachesIntoTheView)
{
    const EdgeCase &c = GetParam();
    PanoramaHotspotNodes::Inputs inputs;
    Hotspot hotspot = hotspotOf(c.labelled ? HotspotKind::navigation : HotspotKind::info);
    hotspot.yaw = c.yaw;
    hotspot.pitch = c.pitch;
    const QString longName
        = QStringLiteral("Salle \u00E0 manger et grand salon du premier \u00E9tage, c\u00F4t\u00E9 jardin");
    if (c.labelled)
        inputs.stationNames.insert(hotspot.targetStationID, longName);
    inputs.hotspots = {hotspot};
    SceneNode root(QStringLiteral("hotspotsRoot"));
    PanoramaHotspotNodes nodes;
    nodes.sync(inputs, 0.0);
    nodes.showInView(root, facingYawZero(), 0.0);
    EXPECT_EQ(root.children().size(), c.drawn ? 1u : 0u);
}

// The edges of the view facingYawZero() lie a quarter turn apart. A bare
// marker reaches about 0.11 past them, a long label farther.
constexpr double edge = pi / 4;
INSTANTIATE_TEST_SUITE_P(
    Edges, MarkerAtTheEdge,
    ::testing::Values(EdgeCase{"rightWithinReach", edge + 0.08, 0.0, false, true},
                      EdgeCase{"leftWithinReach", -edge - 0.08, 0.0, false, true},
                      EdgeCase{"topWithinReach", 0.0, edge + 0.08, false, true},
                      EdgeCase{"bottomWithinReach", 0.0, -edge - 0.08, false, true},
                      EdgeCase{"rightBeyondReach", edge + 0.2, 0.0, false, false},
                      EdgeCase{"rightLabelWithinReach", edge + 0.2, 0.0, true, true}),
    [](const auto &info) { return std::string(info.param.name); });

int s_panoramaWarnings = 0;

TEST(PanoramaHotspotNodes, aViewCrowdedBeyondTheLimitShowsTheMarkersNearestItsMiddleAndSaysSoOnce)
{
    s_panoramaWarnings = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &) {
            s_panoramaWarnings += qstrcmp(context.category, "lumivane.panorama") == 0;
        });
    SceneNode root(QStringLiteral("hotspotsRoot"));
    PanoramaHotspotNodes nodes;
    PanoramaHotspotNodes::Inputs inputs;
    for (int i = 0; i <= PanoramaHotspotNodes::shownLimit; ++i) {
        Hotspot hotspot = hotspotOf(HotspotKind::info);
        hotspot.pitch = 0.0005 * (i % 2 ? i : -i); // from the middle outwards, up and down by turns
        inputs.hotspots.append(hotspot);
    }
    nodes.sync(inputs, 0.0);
    nodes.showInView(root, facingYawZero(), 0.0);
    const std::vector<QUuid> shown = childIDs(root);
    ASSERT_EQ(shown.size(), std::size_t(PanoramaHotspotNodes::shownLimit));
    EXPECT_EQ(shown.front(), inputs.hotspots.front().id);
    EXPECT_EQ(std::count(shown.cbegin(), shown.cend(), inputs.hotspots.back().id), 0) << "the farthest";
    nodes.showInView(root, facingYawZero(), 1.0);
    qInstallMessageHandler(previous);
    EXPECT_EQ(s_panoramaWarnings, 1);
}

TEST(PanoramaHotspotNodes, nodeNamesReadBackOnlyAsCanonicalIds)
{
    const QUuid id = QUuid::createUuid();
    const QString name = PanoramaHotspotNodes::nodeName(id);
    EXPECT_EQ(PanoramaHotspotNodes::idFromNodeName(name), id);
    EXPECT_EQ(PanoramaHotspotNodes::idFromNodeName(name.toLower().replace(QStringLiteral("hotspot_"),
                                                                          QStringLiteral("hotspot_"))),
              id);
    EXPECT_EQ(PanoramaHotspotNodes::idFromNodeName(QStringLiteral("hotspot_") + id.toString()), std::nullopt);
    EXPECT_EQ(PanoramaHotspotNodes::idFromNodeName(QStringLiteral("sphere")), std::nullopt);
    EXPECT_EQ(PanoramaHotspotNodes::idFromNodeName(QStringLiteral("hotspot_not-a-uuid-at-all-not-a-uuid-at-al")),
              std::nullopt);
}

} // namespace
