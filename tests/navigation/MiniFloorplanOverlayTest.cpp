#include "TestNavigation.h"
#include "navigation/FloorplanPanel.h"
#include "navigation/MiniFloorplanOverlay.h"

#include "model/Palette.h"
#include "tests/support/FlatPng.h"
#include "tests/support/HostilePhotos.h"
#include "widgets/SymbolButton.h"

#include <QApplication>
#include <QHelpEvent>
#include <QThreadPool>
#include <QToolTip>

namespace {

using TestPhotoFiles::near;
using TestStations::placed;

const QColor kRed(220, 30, 30);
const QColor kGreen(30, 200, 60);
const QColor kBlue(30, 60, 220);

QByteArray planBytes(QColor color)
{
    return flatPngBytes(QSize(400, 200), color);
}

// Stations 1 and 2 on level "A", 3 without level, 4 on "B"; the plan of
// "A" is red, of the empty level green, the project's own plan blue.
LumivaneProject planTour()
{
    LumivaneProject project = TestTours::tour(0);
    project.stations = {placed(1, "A", 1, 0.2, 0.2), placed(2, "A", 2, 0.8, 0.8), placed(3, std::nullopt, 3),
                        placed(4, "B", 4)};
    project.floorplansByLevel = {{"A", planBytes(kRed)}, {"", planBytes(kGreen)}};
    project.floorplanImageData = planBytes(kBlue);
    return project;
}

class MiniFloorplanOverlayTest : public NavigationViewTest
{
protected:
    MiniFloorplanOverlay *place(const LumivaneProject &project, std::optional<int> current)
    {
        auto *overlay = new MiniFloorplanOverlay(project, station(project, current), accent, l10n, &host);
        overlay->onSelectStation = [this](QUuid id) { selected.append(TestTours::stationNumber(id)); };
        showHost();
        planDecoded(overlay);
        return overlay;
    }

    // Once the plan of the overlay's level is decoded, laid out as the viewer lays it out.
    static void planDecoded(MiniFloorplanOverlay *overlay)
    {
        EXPECT_TRUE(QTest::qWaitFor([overlay] { return !overlay->isDecodingPlan(); }));
        overlay->adjustSize();
    }

    static std::optional<Station> station(const LumivaneProject &project, std::optional<int> number)
    {
        for (const Station &s : project.stations) {
            if (number && TestTours::stationNumber(s.id) == *number)
                return s;
        }
        return std::nullopt;
    }

    // The plan's colour near its bottom-left corner, away from markers.
    QColor planColour(MiniFloorplanOverlay *overlay)
    {
        FloorplanPanel *panel = overlay->panel();
        return host.pixel(panel->mapTo(&host, QPoint(12, panel->height() - 12)));
    }

    QList<int> selected;
};

struct PlanCase
{
    const char *name;
    std::function<void(LumivaneProject &)> change;
    std::optional<int> current;
    std::optional<QColor> shown;
};

class PlanChoiceTest : public MiniFloorplanOverlayTest, public ::testing::WithParamInterface<PlanCase>
{
};

TEST_P(PlanChoiceTest, thePlanOfTheCurrentLevelElseTheEmptyLevelsElseTheProjects)
{
    LumivaneProject project = planTour();
    if (GetParam().change)
        GetParam().change(project);
    MiniFloorplanOverlay *overlay = place(project, GetParam().current);
    if (!GetParam().shown) {
        EXPECT_FALSE(overlay->showsPlan());
        EXPECT_EQ(overlay->sizeHint(), QSize(0, 0));
        EXPECT_TRUE(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
        return;
    }
    ASSERT_TRUE(overlay->showsPlan());
    EXPECT_TRUE(near(planColour(overlay), *GetParam().shown)) << planColour(overlay).name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Floorplan, PlanChoiceTest,
    ::testing::Values(
        PlanCase{"ownLevel", {}, 1, kRed},
        PlanCase{"emptyLevelForALevelWithout", {}, 4, kGreen},
        PlanCase{"emptyLevelWithoutCurrentStation", {}, std::nullopt, kGreen},
        PlanCase{"projectPlanLast", [](LumivaneProject &p) { p.floorplansByLevel.remove(""); }, 4, kBlue},
        PlanCase{"noPlanAtAll",
                 [](LumivaneProject &p) {
                     p.floorplansByLevel.clear();
                     p.floorplanImageData.reset();
                 },
                 1, std::nullopt},
        PlanCase{"switchedOff", [](LumivaneProject &p) { p.showFloorplan = false; }, 1, std::nullopt},
        PlanCase{"bytesThatAreNoImage", [](LumivaneProject &p) { p.floorplansByLevel["A"] = "not a plan"; }, 1,
                 std::nullopt},
        // Reduced by eight, it would still cost seconds of walking its blocks.
        PlanCase{"claimingMorePixelsThanAnyPlanIsMadeWith",
                 [](LumivaneProject &p) { p.floorplansByLevel["A"] = HostilePhotos::jpegClaiming({65500, 65500}, false); },
                 1, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MiniFloorplanOverlayTest, markersReportTheirStationAndFollowTheCurrentLevel)
{
    LumivaneProject project = planTour();
    project.startingStationID = TestTours::stationID(2);
    project.stations[1].nameTranslations = Translations{{"en", "Hall"}};
    MiniFloorplanOverlay *overlay = place(project, 1);
    FloorplanPanel *panel = overlay->panel();
    const auto centre = [panel](int n) { return panel->markerCentre(TestTours::stationID(n))->toPoint(); };
    // Beside the label: the current station's disc in the accent, the start station's in brown.
    const auto disc = [&](int n) { return host.pixel(panel->mapTo(&host, centre(n) - QPoint(6, 0))); };
    EXPECT_TRUE(near(disc(1), accent, 6)) << disc(1).name().toStdString();
    EXPECT_TRUE(near(disc(2), paletteBrown(), 6)) << disc(2).name().toStdString();

    QHelpEvent hover(QEvent::ToolTip, centre(2), panel->mapToGlobal(centre(2)));
    QApplication::sendEvent(panel, &hover);
    EXPECT_EQ(QToolTip::text(), "Hall");
    QToolTip::hideText();

    for (const int n : {1, 2})
        QTest::mouseClick(panel, Qt::LeftButton, {}, centre(n));
    EXPECT_EQ(selected, (QList<int>{1, 2}));
    EXPECT_FALSE(panel->markerCentre(TestTours::stationID(3)));

    // No marker of the new level on the old plan while its own decodes.
    overlay->setCurrentStation(station(project, 3));
    EXPECT_FALSE(overlay->showsPlan());
    planDecoded(overlay);
    EXPECT_TRUE(near(planColour(overlay), kGreen));
    EXPECT_TRUE(panel->markerCentre(TestTours::stationID(3)));
    EXPECT_FALSE(panel->markerCentre(TestTours::stationID(1)));
}

TEST_F(MiniFloorplanOverlayTest, theButtonFoldsAndUnfoldsThePanel)
{
    MiniFloorplanOverlay *overlay = place(planTour(), 1);
    SymbolButton *toggle = overlay->toggleButton();
    const QSize unfolded = overlay->sizeHint();
    EXPECT_TRUE(overlay->isExpanded());
    EXPECT_TRUE(overlay->panel()->isVisible());
    EXPECT_EQ(toggle->look().symbol, "map.fill");
    EXPECT_EQ(toggle->toolTip(), "Hide the floor plan");

    toggle->click();
    EXPECT_FALSE(overlay->isExpanded());
    EXPECT_EQ(toggle->look().symbol, "map");
    EXPECT_EQ(toggle->toolTip(), "Show the floor plan");
    QTRY_VERIFY_WITH_TIMEOUT(!overlay->panel()->isVisible(), 1000);
    EXPECT_LT(overlay->sizeHint().height(), unfolded.height());

    toggle->click();
    EXPECT_TRUE(overlay->panel()->isVisible());
    EXPECT_EQ(overlay->sizeHint(), unfolded);
}

// The plan decodes on the pool: the view never waits for it. The decode of
// a level left meanwhile, or of an overlay gone, is dropped.
TEST_F(MiniFloorplanOverlayTest, showsOnlyThePlanOfTheLevelItIsOnOnceDecoded)
{
    LumivaneProject project = planTour();
    // Long to decode, against the empty level's plan that takes no time.
    project.floorplansByLevel["A"] = HostilePhotos::jpegClaiming({12000, 12000}, false);
    auto *overlay = new MiniFloorplanOverlay(project, station(project, 1), accent, l10n, &host);
    EXPECT_TRUE(overlay->isDecodingPlan());
    EXPECT_FALSE(overlay->showsPlan());
    overlay->setCurrentStation(station(project, 4));
    showHost();
    planDecoded(overlay);
    LumivaneImageCache::pool()->waitForDone();
    QCoreApplication::processEvents();
    ASSERT_TRUE(overlay->showsPlan());
    EXPECT_TRUE(near(planColour(overlay), kGreen)) << planColour(overlay).name().toStdString();

    overlay->setCurrentStation(station(project, 1));
    delete overlay;
    LumivaneImageCache::pool()->waitForDone();
    QCoreApplication::processEvents();
}

} // namespace
