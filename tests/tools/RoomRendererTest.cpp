#include "tools/make-sample-tour/RoomRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
const QColor plaqueBlue(0x2e, 0x86, 0xab);

RoomScene roomWithPlaques()
{
    RoomScene scene;
    scene.title = QStringLiteral("Test");
    scene.width = 4.0;
    scene.depth = 3.0;
    scene.features = {
        {WallFeature::Kind::InfoPlaque, Wall::North, 0.8, QStringLiteral("a")},
        {WallFeature::Kind::InfoPlaque, Wall::East, 0.5, QStringLiteral("b")},
        {WallFeature::Kind::InfoPlaque, Wall::West, 0.3, QStringLiteral("c")},
        {WallFeature::Kind::Door, Wall::South, 0.5, QStringLiteral("d")},
    };
    return scene;
}

int colourDistance(QRgb a, QColor b)
{
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) + std::abs(qBlue(a) - b.blue());
}

// The plaque's white "i" sits right on its centre, so look around it.
bool plaqueColourNear(const QImage &image, QPointF fraction)
{
    const int cx = int(fraction.x() * image.width());
    const int cy = int(fraction.y() * image.height());
    for (int y = cy - 10; y <= cy + 10; ++y) {
        for (int x = cx - 10; x <= cx + 10; ++x) {
            if (image.valid(x, y) && colourDistance(image.pixel(x, y), plaqueBlue) < 40)
                return true;
        }
    }
    return false;
}

QPointF equirectangularFraction(ViewDirection direction)
{
    return {direction.yaw / (2 * pi) + 0.5, 0.5 - direction.pitch / pi};
}

TEST(RoomRenderer, FeatureDirectionsFollowTheCompassConvention)
{
    const RoomRenderer renderer(roomWithPlaques(), 64);
    EXPECT_NEAR(renderer.directionOf({WallFeature::Kind::Door, Wall::North, 0.5, {}}).yaw, 0.0, 1e-9);
    EXPECT_NEAR(renderer.directionOf({WallFeature::Kind::Door, Wall::East, 0.5, {}}).yaw, pi / 2, 1e-9);
    EXPECT_NEAR(std::abs(renderer.directionOf({WallFeature::Kind::Door, Wall::South, 0.5, {}}).yaw), pi, 1e-9);
    EXPECT_NEAR(renderer.directionOf({WallFeature::Kind::Door, Wall::West, 0.5, {}}).yaw, -pi / 2, 1e-9);
    // Doors are aimed below the eye, plaques near it; left of centre is negative yaw.
    EXPECT_LT(renderer.directionOf({WallFeature::Kind::Door, Wall::North, 0.5, {}}).pitch, -0.2);
    EXPECT_LT(renderer.directionOf({WallFeature::Kind::Door, Wall::North, 0.2, {}}).yaw, 0.0);
}

TEST(RoomRenderer, PanoramaShowsEachPlaqueWhereItsDirectionPoints)
{
    const RoomRenderer renderer(roomWithPlaques(), 64);
    const QImage panorama = renderer.renderEquirectangular(1024);
    ASSERT_EQ(panorama.size(), QSize(1024, 512));
    for (int i = 0; i < 3; ++i) {
        const ViewDirection direction = renderer.directionOf(renderer.scene().features.at(i));
        EXPECT_TRUE(plaqueColourNear(panorama, equirectangularFraction(direction))) << "plaque " << i;
    }
}

TEST(RoomRenderer, PanoramaIsContinuousAcrossTheSeamAndAtThePoles)
{
    const RoomRenderer renderer(roomWithPlaques(), 64);
    const QImage panorama = renderer.renderEquirectangular(512);
    long seamDifference = 0;
    for (int y = 0; y < panorama.height(); ++y)
        seamDifference += colourDistance(panorama.pixel(0, y), QColor(panorama.pixel(panorama.width() - 1, y)));
    EXPECT_LT(seamDifference / panorama.height(), 30);
    for (int y : {0, panorama.height() - 1}) {
        const QRgb first = panorama.pixel(0, y);
        for (int x = 0; x < panorama.width(); x += 7)
            EXPECT_LT(colourDistance(panorama.pixel(x, y), QColor(first)), 40) << "row " << y << " column " << x;
    }
}

TEST(RoomRenderer, PerspectivePositionsMatchThePerspectivePhoto)
{
    const RoomRenderer renderer(roomWithPlaques(), 64);
    const QSize size(800, 400);
    const double fov = 100 * pi / 180;
    EXPECT_EQ(RoomRenderer::perspectivePosition({0.0, 0.0}, size, 0.0, fov), QPointF(0.5, 0.5));
    EXPECT_FALSE(RoomRenderer::perspectivePosition({pi, 0.0}, size, 0.0, fov));
    EXPECT_FALSE(RoomRenderer::perspectivePosition({1.2, 0.0}, size, 0.0, fov));

    const QImage photo = renderer.renderPerspective(size, 0.4, fov);
    const ViewDirection plaque = renderer.directionOf(renderer.scene().features.at(0));
    const std::optional<QPointF> at = RoomRenderer::perspectivePosition(plaque, size, 0.4, fov);
    ASSERT_TRUE(at);
    EXPECT_TRUE(plaqueColourNear(photo, *at));
    // And nowhere far from it: the check above is not satisfied by chance.
    EXPECT_FALSE(plaqueColourNear(photo, *at + QPointF(0.1, 0.0)));
}

TEST(RoomRenderer, OutdoorScenesShowSkyAboveTheWalls)
{
    RoomScene garden = roomWithPlaques();
    garden.outdoor = true;
    const QImage panorama = RoomRenderer(garden, 32).renderEquirectangular(256);
    const QColor zenithArea = panorama.pixel(10, 20);
    EXPECT_GT(zenithArea.blue(), zenithArea.red() + 40);
}

} // namespace
