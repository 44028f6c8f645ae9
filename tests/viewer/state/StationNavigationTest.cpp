#include "ViewerTestFixture.h"

using TestTours::stationID;

namespace {

// A history scenario: from the start station 1 of a five-station tour, run
// the moves ("3" goes to station 3, "<" back, ">" forward), each one given
// time to arrive; then expect the history, its index and the station shown.
struct HistoryCase
{
    const char *name;
    QStringList moves;
    QList<int> history;
    int navIndex;
    int current;
};

class HistoryTest : public ViewerTestFixture, public ::testing::WithParamInterface<HistoryCase>
{
};

TEST_P(HistoryTest, MovesGiveTheHistory)
{
    openStarted(TestTours::tour(5));
    for (const QString &move : GetParam().moves) {
        if (move == "<")
            controller->navigateBack();
        else if (move == ">")
            controller->navigateForward();
        else
            go(move.toInt());
        scheduler.advance(1);
    }
    EXPECT_EQ(history(), GetParam().history);
    EXPECT_EQ(controller->state().navIndex, GetParam().navIndex);
    EXPECT_EQ(current(), GetParam().current);
    EXPECT_FALSE(controller->state().navSkipPush);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, HistoryTest,
    ::testing::Values(HistoryCase{"StartIsNotPushedSoBackDoesNothing", {"2", "<"}, {2}, 0, 2},
                      HistoryCase{"BackTwiceThenNewMoveDropsTheRest", {"2", "3", "4", "<", "<", "5"}, {2, 5}, 1, 5},
                      HistoryCase{"ForwardAfterBack", {"2", "3", "<", ">"}, {2, 3}, 1, 3},
                      HistoryCase{"ForwardAtTheEndDoesNothing", {"2", "3", ">"}, {2, 3}, 1, 3},
                      HistoryCase{"DirectRepeatIsNotPushed", {"2", "2"}, {2}, 0, 2},
                      HistoryCase{"ReturnIsPushed", {"2", "1", "2"}, {2, 1, 2}, 2, 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ViewerTestFixture, StationChangeSoundsFadesAndArrivesAfterTheFade)
{
    openStarted(TestTours::tour(3, 1));
    controller->showInfoCard(TestTours::infoHotspot("Hall"));
    animations.clear();

    go(2);
    EXPECT_EQ(effects.log, QStringList({"sound", "prefetch:2", "narration.stop"}));
    EXPECT_EQ(controller->state().transitionOpacity, 1);
    EXPECT_FALSE(controller->state().selectedInfoHotspot);
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(controller->state().arrivingStationID, stationID(2));
    ASSERT_EQ(animations.size(), 2u); // the fade, then the history without animation
    EXPECT_EQ(animations[0].curve, AnimationCurve::easeIn);
    EXPECT_DOUBLE_EQ(animations[0].seconds, 0.18);
    EXPECT_DOUBLE_EQ(animations[1].seconds, 0);

    scheduler.advance(0.17);
    EXPECT_EQ(current(), 1);
    animations.clear();
    scheduler.advance(0.01);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(controller->state().transitionOpacity, 0);
    EXPECT_FALSE(controller->state().arrivingStationID);
    EXPECT_TRUE(controller->state().visitedStationIDs.contains(stationID(2)));
    ASSERT_EQ(animations.size(), 2u); // the switch at once, then the fade out
    EXPECT_DOUBLE_EQ(animations[0].seconds, 0);
    EXPECT_EQ(animations[1].curve, AnimationCurve::easeOut);
    EXPECT_DOUBLE_EQ(animations[1].seconds, 0.28);
    // Around the new station too, so the next move finds its photo.
    EXPECT_EQ(effects.lines("prefetch"), QStringList({"prefetch:2", "prefetch:3"}));
}

TEST_F(ViewerTestFixture, TwoChangesWithinTheFadeArriveInOrderAndTheLaterWins)
{
    openStarted(TestTours::tour(4));
    go(2);
    scheduler.advance(0.1);
    go(3);
    scheduler.advance(0.1);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(controller->state().arrivingStationID, stationID(3));
    scheduler.advance(0.1);
    EXPECT_EQ(current(), 3);
    EXPECT_FALSE(controller->state().arrivingStationID);
    EXPECT_EQ(history(), QList<int>({2, 3}));
    EXPECT_TRUE(controller->state().visitedStationIDs.contains(stationID(2)));
}

TEST_F(ViewerTestFixture, UnknownTargetIsTakenWithoutStation)
{
    openStarted(TestTours::tour(3));
    go(99);
    scheduler.advance(1);
    EXPECT_EQ(current(), 99);
    EXPECT_FALSE(controller->currentStation());
    EXPECT_EQ(controller->currentStationIndex(), 0);
}

TEST_F(ViewerTestFixture, TourWithoutStationsMovesAtOnceAndHomeOnlyResetsTheView)
{
    open(TestTours::tour(0));
    controller->handleViewerAppear();
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(effects.lines("prefetch"), QStringList());
    controller->goHome();
    EXPECT_EQ(controller->state().resetViewTrigger, 1);
    controller->goToStartStation();
    controller->goToNextStation();
    EXPECT_EQ(controller->state().resetViewTrigger, 1);

    effects.log.clear();
    go(7); // the first move of a viewer with no station: no sound, no fade
    EXPECT_EQ(current(), 7);
    EXPECT_EQ(history(), QList<int>({7}));
    EXPECT_EQ(effects.lines("sound"), QStringList());
    EXPECT_EQ(scheduler.pendingCount(), 1); // only the splash
}

TEST_F(ViewerTestFixture, HomeAtTheStartOnlyResetsTheView)
{
    openStarted(TestTours::tour(3));
    controller->goHome();
    EXPECT_EQ(controller->state().resetViewTrigger, 1);
    EXPECT_EQ(effects.lines("sound"), QStringList());
}

TEST_F(ViewerTestFixture, ClassicStepsWrapAround)
{
    LumivaneProject project = TestTours::tour(3);
    project.stations[0].orderIndex = 9; // station order: 2, 3, 1
    openStarted(project);
    EXPECT_EQ(current(), 2);
    controller->goToPreviousStation();
    scheduler.advance(1);
    EXPECT_EQ(current(), 1);
    controller->goToNextStation();
    scheduler.advance(1);
    EXPECT_EQ(current(), 2);
}

TEST_F(ViewerTestFixture, InfoHotspotTapOpensTheCardEasingOut)
{
    openStarted(TestTours::tour(3));
    const Hotspot info = TestTours::infoHotspot("Hall");
    controller->handleHotspotTap(info);
    EXPECT_EQ(controller->state().selectedInfoHotspot, info);
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations[0].curve, AnimationCurve::easeOut);
    EXPECT_DOUBLE_EQ(animations[0].seconds, 0.2);
}

TEST_F(ViewerTestFixture, BackToCoverKeepsTheVisitAndStopsTheKiosk)
{
    LumivaneProject project = TestTours::tour(3);
    project.kioskEnabled = true;
    openStarted(project);
    go(2);
    scheduler.advance(1);
    controller->togglePropertyInfo();
    controller->toggleKiosk();
    animations.clear();
    controller->backToCover();
    EXPECT_EQ(controller->rootFace(), RootFace::cover);
    EXPECT_FALSE(controller->state().kioskActive);
    EXPECT_FALSE(controller->state().showPropertyInfo);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(history(), QList<int>({2}));
    ASSERT_EQ(animations.size(), 1u); // one change, kiosk stop included
    EXPECT_DOUBLE_EQ(animations[0].seconds, 0.3);
}

} // namespace
