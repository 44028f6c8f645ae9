#include "panels/cover/CoverRules.h"
#include "panels/cover/MapCamera.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr QSizeF kCard(420, 180);

void expectNear(QPointF actual, QPointF expected, double tolerance)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

struct FitCase
{
    double latitude;
    double longitude;
    qint64 zoom;
};

class MapCameraFitting : public testing::TestWithParam<FitCase>
{
};

// The whole span shows, and it fills the card in one direction.
TEST_P(MapCameraFitting, ShowsTheSpanAroundThePlace)
{
    const FitCase &c = GetParam();
    const double span = coverMapSpan(c.zoom);
    const MapCamera camera = MapCamera::fitting(c.latitude, c.longitude, span, kCard);
    expectNear(camera.viewPoint(WebMercator::worldPoint(c.latitude, c.longitude), kCard), QPointF(210, 90), 1e-6);
    const QPointF northWest = camera.viewPoint(WebMercator::worldPoint(c.latitude + span / 2, c.longitude - span / 2), kCard);
    const QPointF southEast = camera.viewPoint(WebMercator::worldPoint(c.latitude - span / 2, c.longitude + span / 2), kCard);
    const double width = southEast.x() - northWest.x();
    const double height = southEast.y() - northWest.y();
    EXPECT_LE(width, kCard.width() + 1e-6);
    EXPECT_LE(height, kCard.height() + 1e-6);
    EXPECT_TRUE(std::abs(width - kCard.width()) < 1e-6 || std::abs(height - kCard.height()) < 1e-6)
        << width << " x " << height;
}

INSTANTIATE_TEST_SUITE_P(Places, MapCameraFitting, testing::Values(
    FitCase{48.8566, 2.3522, 15}, FitCase{48.8566, 2.3522, 1}, FitCase{48.8566, 2.3522, 20},
    FitCase{0, 0, 10}, FitCase{-33.86, 151.21, 12}, FitCase{64.14, -21.94, 5}, FitCase{-45, 179.9, 8}),
    [](const auto &info) {
        const FitCase &c = info.param;
        return caseName(
            QStringLiteral("latitude %1 longitude %2 zoom %3").arg(c.latitude).arg(c.longitude).arg(c.zoom));
    });

TEST(MapCamera, DraggingKeepsThePlaceUnderThePointerAtAnyRotation)
{
    MapCamera camera = MapCamera::fitting(45.76, 4.83, coverMapSpan(14), kCard);
    for (const double rotation : {0.0, 37.0, -120.0}) {
        camera.rotation = rotation;
        const QPointF grabbed(100, 40);
        const QPointF place = camera.worldPointAt(grabbed, kCard);
        camera.pan(QPointF(55, -23), kCard);
        expectNear(camera.viewPoint(place, kCard), grabbed + QPointF(55, -23), 1e-6);
        camera.zoomAround(QPointF(300, 150), 1.5, kCard);
        const QPointF anchor = camera.worldPointAt(QPointF(300, 150), kCard);
        camera.zoomAround(QPointF(300, 150), -0.75, kCard);
        expectNear(camera.viewPoint(anchor, kCard), QPointF(300, 150), 1e-6);
    }
    camera.rotation = 350;
    camera.rotateBy(20);
    EXPECT_NEAR(camera.rotation, 10, 1e-9);
}

TEST(MapCamera, ZoomStaysWithinItsRangeAndLongitudeWraps)
{
    MapCamera camera = MapCamera::fitting(0, 179.99, coverMapSpan(20), kCard);
    camera.zoomAround(QPointF(210, 90), 100, kCard);
    EXPECT_EQ(camera.zoom, MapCamera::maxZoom);
    camera.zoomAround(QPointF(210, 90), -100, kCard);
    EXPECT_EQ(camera.zoom, MapCamera::minZoom);
    camera.pan(QPointF(-400, 0), kCard); // eastwards over the antimeridian
    EXPECT_GE(camera.centre.x(), 0.0);
    EXPECT_LT(camera.centre.x(), 1.0);
    // A place just west of the antimeridian shows next to the centre, not a world away.
    const QPointF shown = camera.viewPoint(WebMercator::worldPoint(0, 179.99), kCard);
    EXPECT_LT(std::abs(shown.x() - 210), 420);
}

TEST(MapCamera, OutOfRangeCoordinatesAreClampedForDrawing)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto &[latitude, longitude] : {std::pair{95.0, 200.0}, std::pair{-1e9, -1e9}, std::pair{inf, -inf},
                                              std::pair{nan, nan}, std::pair{90.0, 180.0}}) {
        const MapCamera camera = MapCamera::fitting(latitude, longitude, coverMapSpan(15), kCard);
        EXPECT_TRUE(std::isfinite(camera.zoom));
        EXPECT_GE(camera.centre.y(), 0.0);
        EXPECT_LE(camera.centre.y(), 1.0);
        const QPointF pin = camera.viewPoint(WebMercator::worldPoint(latitude, longitude), kCard);
        EXPECT_TRUE(std::isfinite(pin.x()) && std::isfinite(pin.y()));
    }
    expectNear(WebMercator::worldPoint(95, 200), QPointF(1, 0), 1e-12);
    expectNear(WebMercator::worldPoint(nan, inf), QPointF(0.5, 0.5), 1e-12);
}

} // namespace
