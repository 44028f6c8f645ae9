// Tours as they may come from anywhere: the viewer opens them, walks them
// and shows what it should, in both kinds of tour, without crashing.

#include "support/ViewerSheetFixture.h"

#include "viewer/station/PanoramaMediaLayer.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

struct BadTour
{
    const char *name;
    std::function<LumivaneProject()> make;
    /// What the tour shows once walked; the sheet is started and walked.
    std::function<void(LumivaneViewerSheet &)> check;
};

QString hugeText(QChar letter)
{
    return QString(100000, letter) + QStringLiteral("\nfin");
}

LumivaneProject withoutPhotos()
{
    return TestTours::tour(3, 1);
}

LumivaneProject leadingNowhere()
{
    LumivaneProject project = TestTours::tour(2);
    Hotspot nowhere = TestTours::navigationHotspot(1);
    nowhere.targetStationID = QUuid::createUuid();
    project.stations[0].hotspots = {nowhere};
    return project;
}

LumivaneProject sharingIDs()
{
    LumivaneProject project = TestTours::tour(3, 1);
    project.stations[2].id = project.stations[0].id;
    project.stations[2].name = "Twin";
    return project;
}

LumivaneProject hugeNames()
{
    LumivaneProject project = TestTours::tour(3, 1);
    project.name = hugeText('N');
    project.watermarkText = hugeText('W');
    for (Station &station : project.stations) {
        station.name = hugeText('S');
        station.publicCaption = hugeText('C');
    }
    Hotspot info = TestTours::infoHotspot(hugeText('T'), hugeText('D'));
    project.stations[0].hotspots << info;
    return project;
}

LumivaneProject manyStations()
{
    LumivaneProject project = TestTours::tour(5000, 2);
    project.stations[4999].hotspots << TestTours::infoHotspot("Fin");
    return project;
}

LumivaneProject startingNowhere()
{
    LumivaneProject project = TestTours::tour(3, 1);
    project.startingStationID = QUuid::createUuid();
    return project;
}

class BadTourTest : public ViewerSheetFixture,
                    public ::testing::WithParamInterface<std::tuple<BadTour, RenderMode>>
{
protected:
    /// Walks the tour as a visitor would: hotspots, steps, history, panels.
    void walk()
    {
        ViewerController &c = controller();
        c.hideSplash();
        if (const std::optional<Station> here = c.currentStation(); here && !here->hotspots.isEmpty())
            c.handleHotspotTap(here->hotspots.front());
        waitForStationChange();
        c.goToNextStation();
        waitForStationChange();
        c.goToPreviousStation();
        waitForStationChange();
        c.navigateBack();
        waitForStationChange();
        c.toggleThumbBar();
        c.setShowTableOfContents(true);
        c.toggleVRMode();
        c.togglePropertyInfo();
        QTest::qWait(50);
        c.setShowTableOfContents(false);
        c.toggleVRMode();
    }
};

TEST_P(BadTourTest, OpensWalksAndShowsWhatItShould)
{
    const auto &[tour, mode] = GetParam();
    LumivaneProject project = tour.make();
    project.renderMode = mode;
    open(project);
    QWidget *cover = sheet->faceView();
    EXPECT_LE(cover->width(), 1280);
    controller().startTour();
    walk();

    // Nothing grows past the window, whatever its texts hold.
    EXPECT_EQ(sheet->size(), QSize(1280, 800));
    EXPECT_LE(sheet->minimumSizeHint().width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    for (QWidget *child : sheet->findChildren<QWidget *>()) {
        if (child->isVisible() && !child->isWindow()) {
            EXPECT_LE(child->width(), 1280) << child->metaObject()->className() << " " << child->objectName().toStdString();
        }
    }
    if (tour.check)
        tour.check(*sheet);
}

const BadTour badTours[] = {
    {"stationsWithoutPhoto", withoutPhotos, {}},
    {"hotspotLeadingNowhere", leadingNowhere,
     [](LumivaneViewerSheet &sheet) {
         ViewerController &c = sheet.controller();
         c.goToStation(TestTours::stationID(1));
         ViewerSheetFixture::waitForStationChange();
         c.handleHotspotTap(c.currentStation()->hotspots.front());
         ViewerSheetFixture::waitForStationChange();
         EXPECT_FALSE(c.currentStation());
         if (PanoramaMediaLayer *panorama = sheet.stationView()->panoramaLayer()) {
             EXPECT_TRUE(panorama->showsNoPhotoText());
         }
     }},
    {"twoStationsWithOneID", sharingIDs,
     [](LumivaneViewerSheet &sheet) { EXPECT_EQ(sheet.controller().orderedStations().size(), 2); }},
    {"namesOfAHundredThousandCharacters", hugeNames, {}},
    {"fiveThousandStations", manyStations,
     [](LumivaneViewerSheet &sheet) { EXPECT_EQ(sheet.controller().orderedStations().size(), 5000); }},
    {"startStationThatIsNotThere", startingNowhere,
     [](LumivaneViewerSheet &sheet) {
         EXPECT_EQ(sheet.controller().state().navHistory.front(), TestTours::stationID(2));
     }},
};

// Panoramas need a display with OpenGL: the GL program walks panorama tours,
// the offscreen one classic tours.
#ifdef LUMIVANE_PANORAMA_TOURS
constexpr RenderMode walkedMode = RenderMode::simple;
#else
constexpr RenderMode walkedMode = RenderMode::classic;
#endif

INSTANTIATE_TEST_SUITE_P(Tours, BadTourTest,
                         ::testing::Combine(::testing::ValuesIn(badTours), ::testing::Values(walkedMode)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name)
                                    + (std::get<1>(info.param) == RenderMode::classic ? "Classic" : "Panorama");
                         });

} // namespace
