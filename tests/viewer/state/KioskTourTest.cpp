#include "ViewerTestFixture.h"

#include "viewer/state/KioskDwell.h"

using TestTours::stationID;

namespace {

struct DwellCase
{
    const char *name;
    RenderMode mode;
    qint64 stationSeconds; // kioskStationDuration, or classicPhotoDurationSec in classic tours
    double narrationSeconds;
    double dwell;
};

class KioskDwellTest : public ::testing::TestWithParam<DwellCase>
{
};

TEST_P(KioskDwellTest, DwellOfOneStation)
{
    LumivaneProject project = TestTours::tour(1);
    project.renderMode = GetParam().mode;
    project.kioskStationDuration = GetParam().stationSeconds;
    project.classicPhotoDurationSec = GetParam().stationSeconds;
    EXPECT_DOUBLE_EQ(kioskDwellSeconds(project, GetParam().narrationSeconds), GetParam().dwell);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KioskDwellTest,
    ::testing::Values(DwellCase{"PanoramaFloorIsOneTurn", RenderMode::simple, 30, 0, 40},
                      DwellCase{"PanoramaDuration", RenderMode::immersive, 60, 0, 60},
                      DwellCase{"LongNarrationStretches", RenderMode::simple, 45, 50, 54},
                      DwellCase{"ShortNarrationKeepsDuration", RenderMode::simple, 60, 20, 60},
                      DwellCase{"NarrationOfBaseMinusFourCounts", RenderMode::simple, 60, 56, 60},
                      DwellCase{"NegativeDurationFloor", RenderMode::simple, -5, 0, 40},
                      DwellCase{"ClassicFloor", RenderMode::classic, 2, 0, 3},
                      DwellCase{"ClassicDuration", RenderMode::classic, 5, 0, 5},
                      DwellCase{"ClassicNarration", RenderMode::classic, 2, 10, 14}),
    [](const auto &info) { return std::string(info.param.name); });

class KioskWalkTest : public ViewerTestFixture
{
protected:
    void startKiosk(int stations, bool withNarration = false)
    {
        LumivaneProject project = TestTours::tour(stations);
        project.kioskEnabled = true;
        project.kioskStationDuration = 40;
        ViewerTour tour;
        if (withNarration)
            tour.audioURLResolver = [](const QUuid &) { return std::optional<QUrl>(QUrl::fromLocalFile("/a.m4a")); };
        openStarted(project, tour);
        controller->toggleKiosk();
    }

    /// One dwell and its move, then the 0.2 s re-arm.
    void dwell() { scheduler.advance(40.2); }
};

TEST_F(KioskWalkTest, WalksInStationOrderAndWrapsAround)
{
    startKiosk(3);
    QList<int> shown;
    for (int i = 0; i < 4; ++i) {
        dwell();
        shown << current();
    }
    EXPECT_EQ(shown, QList<int>({2, 3, 1, 2}));
    EXPECT_TRUE(controller->state().kioskActive);
}

TEST_F(KioskWalkTest, LostStationRestartsFromTheStart)
{
    startKiosk(3);
    go(99);
    dwell();
    EXPECT_EQ(current(), 1);
    dwell();
    EXPECT_EQ(current(), 2);
}

TEST_F(KioskWalkTest, WithoutStationsTheTourEnds)
{
    startKiosk(0);
    EXPECT_TRUE(controller->state().kioskActive);
    dwell();
    EXPECT_FALSE(controller->state().kioskActive);
}

TEST_F(KioskWalkTest, StoppedOrRestartedTimerFiresOnce)
{
    startKiosk(3);
    scheduler.advance(30);
    controller->toggleKiosk(); // stop
    scheduler.advance(20);
    EXPECT_EQ(current(), 1);
    controller->toggleKiosk(); // start again: a fresh dwell of 40 s
    scheduler.advance(39);
    EXPECT_EQ(current(), 1);
    scheduler.advance(1.2);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(effects.lines("sound").size(), 1);
}

TEST_F(KioskWalkTest, NarrationOfTheNextStationStretchesTheNextDwell)
{
    startKiosk(3, true); // the first dwell was armed while the narration's length was unknown
    effects.narrationSeconds = 50;
    dwell();
    EXPECT_EQ(current(), 2);
    scheduler.advance(50);
    EXPECT_EQ(current(), 2);
    scheduler.advance(4.2);
    EXPECT_EQ(current(), 3);
}

} // namespace
