#include "media/panorama/PanoramaHotspotNodes.h"
#include "media/panorama/scene/SceneNode.h"

#include <gtest/gtest.h>

#include <numbers>

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
                                           PlacementCase{pi, 0, 0, 0, -9}));

TEST(PanoramaHotspotNodes, syncSkipsPendingHidesAllAndKeepsAnimationPhase)
{
    SceneNode root(QStringLiteral("hotspotsRoot"));
    PanoramaHotspotNodes nodes;
    PanoramaHotspotNodes::Inputs inputs;
    Hotspot pending = hotspotOf(HotspotKind::navigation);
    pending.isPending = true;
    const Hotspot shown = hotspotOf(HotspotKind::navigation);
    inputs.hotspots = {pending, shown};

    nodes.sync(&root, inputs, 0.0);
    ASSERT_EQ(root.children().size(), 1u);
    root.advanceActions(0.55);
    const double haloScale = root.children()[0]->children()[0]->scale();
    EXPECT_GT(haloScale, 1.0);

    // A rebuild with nothing changed continues the breath where it was.
    nodes.sync(&root, inputs, 0.55);
    const SceneNode &halo = *root.children()[0]->children()[0];
    EXPECT_DOUBLE_EQ(halo.scale(), haloScale);
    root.advanceActions(1.1);
    EXPECT_NEAR(halo.scale(), 1.35, 1e-9);

    // A change of look starts over.
    inputs.visitedStationIDs.insert(shown.targetStationID);
    nodes.sync(&root, inputs, 1.1);
    EXPECT_DOUBLE_EQ(root.children()[0]->children()[0]->scale(), 1.0);

    inputs.hideHotspots = true;
    nodes.sync(&root, inputs, 1.2);
    EXPECT_TRUE(root.children().empty());
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
