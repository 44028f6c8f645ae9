// The station view's layers follow the visit: each overlay is there exactly
// while its condition holds, and the classic media layer places its pieces.

#include "support/ViewerSheetFixture.h"

#include "model/HotspotAttachment.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/station/BlackCover.h"
#include "viewer/station/ClassicMediaLayer.h"
#include "widgets/SymbolButton.h"

#include <QAbstractButton>

namespace {

using Layers = QList<ViewerLayer>;

/// The overlay layers (watermark to table of contents), once per view each shows now.
Layers overlaysShown(const StationStackView &stations)
{
    Layers shown;
    for (ViewerLayer layer : allViewerLayers) {
        if (layer <= ViewerLayer::transitionCover || layer == ViewerLayer::keyboardShortcuts)
            continue;
        OverlayLayer &overlay = stations.stack().layer(layer);
        for (QWidget *view : overlay.views()) {
            if (!overlay.isLeaving(view))
                shown << layer;
        }
    }
    return shown;
}

struct ConditionCase
{
    const char *name;
    std::function<void(LumivaneProject &)> adjustProject;
    std::function<void(ViewerController &)> act;
    Layers expected;
    bool splashHidden = true; // as it is 1.2 s after the start
};

class LayerConditionTest : public ViewerSheetFixture, public ::testing::WithParamInterface<ConditionCase>
{
};

TEST_P(LayerConditionTest, ShowsTheOverlaysWhoseConditionsHold)
{
    LumivaneProject project = TestTours::tour(4, 1);
    project.renderMode = RenderMode::classic;
    project.kioskEnabled = true;
    Hotspot info = TestTours::infoHotspot("Cheminée");
    project.stations[0].hotspots << info;
    if (GetParam().adjustProject)
        GetParam().adjustProject(project);
    openStarted(project);
    if (GetParam().splashHidden)
        controller().hideSplash();

    GetParam().act(controller());

    EXPECT_EQ(overlaysShown(*stations()), GetParam().expected);
}

HotspotAttachment pdfAttachment()
{
    HotspotAttachment attachment;
    attachment.kind = AttachmentKind::pdf;
    attachment.title = "Plan";
    attachment.payload = "plan.pdf";
    return attachment;
}

// Header and control bar, and the floor plan's place (its view decides
// whether the tour has a plan to show).
const Layers chrome{ViewerLayer::headerAndControlBar, ViewerLayer::headerAndControlBar,
                    ViewerLayer::floorPlanAndThumbStrip};
const Layers chromeAnd(ViewerLayer layer)
{
    Layers layers = chrome;
    layers.insert(std::upper_bound(layers.begin(), layers.end(), layer), layer);
    return layers;
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, LayerConditionTest,
    ::testing::Values(
        ConditionCase{"atRest", {}, [](ViewerController &) {}, chrome},
        ConditionCase{"splashAtFirst", {}, [](ViewerController &) {}, chromeAnd(ViewerLayer::splash), false},
        ConditionCase{"immersive", {}, [](ViewerController &c) { c.setImmersiveMode(true); },
                      {ViewerLayer::immersiveExit}},
        ConditionCase{"kiosk", {}, [](ViewerController &c) { c.toggleKiosk(); }, {ViewerLayer::kioskHeader}},
        ConditionCase{"kioskAndImmersive", {},
                      [](ViewerController &c) {
                          c.toggleKiosk();
                          c.setImmersiveMode(true);
                      },
                      {ViewerLayer::immersiveExit, ViewerLayer::kioskHeader}},
        ConditionCase{"infoCard", {},
                      [](ViewerController &c) { c.showInfoCard(c.infoHotspotsOfStation().front()); },
                      chromeAnd(ViewerLayer::infoCard)},
        ConditionCase{"propertyInfo", {}, [](ViewerController &c) { c.togglePropertyInfo(); },
                      chromeAnd(ViewerLayer::propertyInfo)},
        ConditionCase{"thumbStrip", {}, [](ViewerController &c) { c.toggleThumbBar(); },
                      chromeAnd(ViewerLayer::floorPlanAndThumbStrip)},
        ConditionCase{"thumbStripHiddenInImmersion", {},
                      [](ViewerController &c) {
                          c.toggleThumbBar();
                          c.setImmersiveMode(true);
                      },
                      {ViewerLayer::immersiveExit}},
        ConditionCase{"lightbox", {},
                      [](ViewerController &c) { c.openAttachment(pdfAttachment()); },
                      chromeAnd(ViewerLayer::lightbox)},
        ConditionCase{"feedback", [](LumivaneProject &p) {
                          p.feedbackEnabled = true;
                          p.feedbackEmail = " avis@example.com ";
                      },
                      [](ViewerController &c) { c.setShowFeedback(true); },
                      chromeAnd(ViewerLayer::feedback)},
        ConditionCase{"feedbackWithoutRecipient", [](LumivaneProject &p) { p.feedbackEnabled = true; },
                      [](ViewerController &c) { c.setShowFeedback(true); }, chrome},
        ConditionCase{"keyboardHelp", {}, [](ViewerController &c) { c.setShowKeyboardHelp(true); },
                      chromeAnd(ViewerLayer::keyboardHelp)},
        ConditionCase{"tableOfContents", {}, [](ViewerController &c) { c.setShowTableOfContents(true); },
                      chromeAnd(ViewerLayer::tableOfContents)},
        ConditionCase{"panelsPileUpInTheirOrder", {},
                      [](ViewerController &c) {
                          c.setShowTableOfContents(true);
                          c.setShowKeyboardHelp(true);
                          c.togglePropertyInfo();
                      },
                      {ViewerLayer::headerAndControlBar, ViewerLayer::headerAndControlBar,
                       ViewerLayer::floorPlanAndThumbStrip, ViewerLayer::propertyInfo, ViewerLayer::keyboardHelp,
                       ViewerLayer::tableOfContents}},
        ConditionCase{"watermark", [](LumivaneProject &p) { p.watermarkText = " Agence du Port "; },
                      [](ViewerController &) {}, chromeAnd(ViewerLayer::watermark)},
        ConditionCase{"watermarkOfSpaces", [](LumivaneProject &p) { p.watermarkText = " \t "; },
                      [](ViewerController &) {}, chrome}),
    [](const auto &info) { return std::string(info.param.name); });

class StationStackTest : public ViewerSheetFixture
{
};

TEST_F(StationStackTest, TheSplashShowsOverTheFreshStationViewAndGoesAfterItsTime)
{
    LumivaneProject project = TestTours::tour(2);
    project.renderMode = RenderMode::classic;
    openStarted(project);

    EXPECT_EQ(shownIn(ViewerLayer::splash).size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownIn(ViewerLayer::splash).isEmpty(); }, 3000));
}

TEST_F(StationStackTest, TheBlackCoverRisesForAStationChangeThenClearsAndNeverTakesAClick)
{
    LumivaneProject project = TestTours::tour(3);
    project.renderMode = RenderMode::classic;
    openStarted(project);
    BlackCover *cover = stations()->transitionCover();
    EXPECT_FALSE(cover->isVisible());
    EXPECT_TRUE(stations()->stack().layer(ViewerLayer::transitionCover).testAttribute(Qt::WA_TransparentForMouseEvents));

    std::optional<double> atFadeOut;
    QObject::connect(&controller(), &ViewerController::stateChanged, cover, [&] {
        if (cover->targetOpacity() == 0 && !atFadeOut && controller().state().currentStationID == TestTours::stationID(2))
            atFadeOut = cover->opacity();
    });
    controller().goToStation(TestTours::stationID(2));
    EXPECT_EQ(cover->targetOpacity(), 1);
    EXPECT_TRUE(cover->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return atFadeOut.has_value(); }, 1000));
    // The photo is exchanged under full black, whatever the timers' skew.
    EXPECT_EQ(atFadeOut, 1.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !cover->isVisible(); }, 1000));
}

TEST_F(StationStackTest, ClassicMarkersSitAtTheirFractionsOfTheFittedPhoto)
{
    LumivaneProject project = TestTours::tour(2);
    project.renderMode = RenderMode::classic;
    Hotspot centre = TestTours::infoHotspot("Centre");
    centre.yaw = 0.5;
    centre.pitch = 0.5;
    Hotspot corner = TestTours::infoHotspot("Coin");
    corner.yaw = 0;
    corner.pitch = 0;
    project.stations[0].hotspots = {centre, TestTours::navigationHotspot(2), corner};
    writePhoto(1, Qt::darkGreen, {2000, 1000});
    openStarted(project, {1000, 1000});

    ClassicMediaLayer *classic = stations()->classicLayer();
    ASSERT_NE(classic, nullptr);
    EXPECT_EQ(classic->fittedPhotoRect(), QRectF(0, 250, 1000, 500));
    const QList<ClassicInfoMarker *> markers = classic->markers();
    ASSERT_EQ(markers.size(), 2); // navigation hotspots get none
    // The discs stand as far apart as the hotspots in the fitted photo.
    EXPECT_EQ(markers[0]->pos() - markers[1]->pos(), QPoint(500, 250));
    EXPECT_TRUE(markers[0]->geometry().contains(500, 500));

    // A click on the disc at the hotspot's place opens its info card, also
    // while the splash is on its way out.
    controller().hideSplash();
    QTest::mouseClick(sheet->windowHandle(), Qt::LeftButton, {}, classic->mapTo(sheet.get(), QPoint(500, 500)));
    ASSERT_TRUE(controller().state().selectedInfoHotspot);
    EXPECT_EQ(controller().state().selectedInfoHotspot->id, centre.id);

    const QPoint before = markers[0]->pos();
    sheet->resize(1600, 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(classic->fittedPhotoRect(), QRectF(0, 100, 1600, 800));
    EXPECT_EQ(markers[0]->pos() - before, QPoint(300, 0));
    EXPECT_EQ(markers[0]->pos() - markers[1]->pos(), QPoint(800, 400));
}

TEST_F(StationStackTest, ClassicStepButtonsWrapAroundAndHideDuringTheKioskTour)
{
    LumivaneProject project = TestTours::tour(3);
    project.renderMode = RenderMode::classic;
    project.kioskEnabled = true;
    openStarted(project);
    ClassicMediaLayer *classic = stations()->classicLayer();
    EXPECT_EQ(classic->previousButton()->geometry().left(), 60);
    EXPECT_EQ(classic->nextButton()->geometry().right(), 1280 - 20 - 1);
    EXPECT_EQ(classic->previousButton()->size(), QSize(44, 44));

    classic->previousButton()->click();
    waitForStationChange();
    EXPECT_EQ(controller().state().currentStationID, TestTours::stationID(3));
    classic->nextButton()->click();
    waitForStationChange();
    EXPECT_EQ(controller().state().currentStationID, TestTours::stationID(1));

    controller().toggleKiosk();
    EXPECT_FALSE(classic->previousButton()->isVisible());
    EXPECT_FALSE(classic->nextButton()->isVisible());
}

TEST_F(StationStackTest, AClassicStationWithoutPhotoPutsItsMarkersOverTheWholeLayer)
{
    LumivaneProject project = TestTours::tour(1);
    project.renderMode = RenderMode::classic;
    Hotspot info = TestTours::infoHotspot("Là");
    info.yaw = 0.25;
    info.pitch = 0.5;
    project.stations[0].hotspots = {info};
    openStarted(project, {1200, 800});

    EXPECT_EQ(stations()->classicLayer()->fittedPhotoRect(), QRectF(0, 0, 1200, 800));
    EXPECT_TRUE(stations()->classicLayer()->markers().front()->geometry().contains(300, 400));
}

} // namespace
