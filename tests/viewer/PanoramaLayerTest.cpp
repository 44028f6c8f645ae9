// Panorama tours on screen: a click on a marker changes station through
// black, the zoom buttons and keys step on from a wheel's zoom, the VR
// pair's halves move on their own, and a sheet that goes while a photo
// loads leaves nothing behind.

#include "support/ViewerSheetFixture.h"

#include "PanoramaProbe.h"
#include "tests/support/HostilePhotos.h"
#include "viewer/chrome/ControlBar.h"
#include "widgets/SymbolButton.h"
#include "viewer/station/BlackCover.h"
#include "viewer/station/PanoramaMediaLayer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWheelEvent>

namespace {

class PanoramaLayerTest : public ViewerSheetFixture
{
protected:
    /// Two stations of flat colours, the first leading to the second.
    LumivaneViewerSheet &openTwoColours()
    {
        LumivaneProject project = TestTours::tour(2, 1);
        project.stations[0].initialYaw = 0.0; // facing its marker
        writePhoto(1, Qt::red, {1024, 512});
        writePhoto(2, Qt::blue, {1024, 512});
        openStarted(project);
        controller().hideSplash();
        return *sheet;
    }

    Panorama360ViewerView &panorama() const { return *stations()->panoramaLayer()->panorama(); }

    bool shows(const QColor &color, QPoint at = {640, 680})
    {
        return PanoramaProbe::isNear(PanoramaProbe::screenColor(*sheet, at), color);
    }

    /// Scroll wheel notches over the panorama, away from the viewer.
    void wheel(int notches)
    {
        const QPointF at(640, 400);
        QWheelEvent event(at, panorama().mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&panorama(), &event);
    }

    double fieldOfView() { return panorama().scene().pointOfView()->camera()->fieldOfView(); }

    void clickZoomIn()
    {
        ControlBar *bar = nullptr;
        for (QWidget *view : shownIn(ViewerLayer::headerAndControlBar))
            bar = bar ? bar : dynamic_cast<ControlBar *>(view);
        ASSERT_NE(bar, nullptr);
        QTest::mouseClick(bar->button(ControlBarAction::zoomIn), Qt::LeftButton);
    }

    const QPoint sample{640, 680}; // clear of the chrome and of the markers
};

TEST_F(PanoramaLayerTest, AClickOnAMarkerPassesThroughBlackToTheTargetsPhoto)
{
    openTwoColours();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(Qt::red); }, 10000));
    const Hotspot door = controller().currentStation()->hotspots.front();
    std::optional<QPoint> marker;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (marker = PanoramaProbe::hotspotPoint(panorama(), door.id)).has_value(); }, 5000));

    // Through the window system, as the visitor clicks: the layers above let it pass.
    QTest::mouseClick(sheet->window()->windowHandle(), Qt::LeftButton, {}, panorama().mapTo(sheet->window(), *marker));
    int darkest = 255;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500 && !(darkest < 20 && shows(Qt::blue))) {
        const QColor seen = PanoramaProbe::screenColor(*sheet, sample);
        darkest = std::min(darkest, std::max({seen.red(), seen.green(), seen.blue()}));
        QTest::qWait(10);
    }
    EXPECT_LT(darkest, 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(Qt::blue); }, 5000));
    EXPECT_EQ(controller().state().currentStationID, TestTours::stationID(2));
    EXPECT_EQ(controller().state().navHistory, QList<QUuid>{TestTours::stationID(2)});
}

TEST_F(PanoramaLayerTest, TheZoomButtonAndKeysStepOnFromWhereTheWheelZoomed)
{
    openTwoColours();
    wheel(10);
    ASSERT_DOUBLE_EQ(fieldOfView(), 55.0);
    clickZoomIn();
    EXPECT_DOUBLE_EQ(fieldOfView(), 45.0);
    QTest::keyClick(sheet.get(), Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(fieldOfView(), 35.0);

    wheel(-100);
    ASSERT_DOUBLE_EQ(fieldOfView(), 120.0);
    QTest::keyClick(sheet.get(), Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(fieldOfView(), 120.0) << "out as far as it goes";
    clickZoomIn();
    EXPECT_DOUBLE_EQ(fieldOfView(), 110.0);
}

TEST_F(PanoramaLayerTest, TheChangesBlackIsDrawnInThePanoramasOwnFrameAndIsFullAtTheArrival)
{
    openTwoColours();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(Qt::red); }, 10000));
    BlackCover *cover = stations()->transitionCover();
    bool coverWidgetShown = false;
    std::optional<QColor> atArrival;
    QObject::connect(&controller(), &ViewerController::stateChanged, cover, [&] {
        // The photo is exchanged, and the fade back starts, under full black.
        if (!atArrival && cover->targetOpacity() == 0 && controller().state().currentStationID == TestTours::stationID(2))
            atArrival = PanoramaProbe::screenColor(*sheet, sample);
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, cover, [&] {
        coverWidgetShown |= cover->isVisible();
        EXPECT_EQ(panorama().coverOpacity(), cover->opacity());
    });
    watch.start(5);
    controller().goToStation(TestTours::stationID(2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return atArrival.has_value(); }, 2000));
    EXPECT_TRUE(PanoramaProbe::isNear(atArrival.value_or(Qt::white), Qt::black, 4));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(Qt::blue) && cover->opacity() == 0; }, 5000));
    // No translucent widget was composed over the panorama on any frame.
    EXPECT_FALSE(coverWidgetShown);
}

TEST_F(PanoramaLayerTest, TheVRPairsHalvesTurnOnTheirOwnAndGoWithVRMode)
{
    openTwoColours();
    controller().toggleVRMode();
    PanoramaMediaLayer *media = stations()->panoramaLayer();
    Panorama360ViewerView *left = media->vrHalf(0);
    Panorama360ViewerView *right = media->vrHalf(1);
    ASSERT_TRUE(left && right);
    EXPECT_FALSE(media->panorama()->isVisible());
    EXPECT_EQ(left->geometry(), QRect(0, 0, 639, 800));
    EXPECT_EQ(right->geometry(), QRect(641, 0, 639, 800));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(Qt::red, {320, 680}) && shows(Qt::red, {960, 680}); }, 10000));
    EXPECT_FALSE(shows(Qt::red, {640, 680})); // the gap between the halves

    const SceneVector rightBefore = right->sphere().eulerAngles();
    const SceneVector leftBefore = left->sphere().eulerAngles();
    QTest::mousePress(left, Qt::LeftButton, {}, {300, 400});
    for (int x = 310; x <= 500; x += 10)
        QTest::mouseMove(left, {x, 400});
    QTest::mouseRelease(left, Qt::LeftButton, {}, {500, 400});
    EXPECT_NE(left->sphere().eulerAngles().y, leftBefore.y);
    EXPECT_EQ(right->sphere().eulerAngles().y, rightBefore.y);

    controller().toggleVRMode();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !media->vrHalf(0) && !media->vrHalf(1); }, 1000));
    EXPECT_TRUE(media->panorama()->isVisible());
}

TEST_F(PanoramaLayerTest, PreloadingKeepsAPanoramaNoLargerThanTheGpuTakes)
{
    // The neighbour's photo claims 40000 x 20000 pixels; a texture takes far fewer.
    writePhoto(1, Qt::red, {1024, 512});
    const QString path = photos.filePath(QStringLiteral("2.jpg"));
    ASSERT_TRUE(HostilePhotos::write(path, HostilePhotos::jpegClaiming({40000, 20000}, false)));
    const QUrl neighbour = QUrl::fromLocalFile(path);
    photoURLs.insert(TestTours::stationID(2), neighbour);
    openStarted(TestTours::tour(2, 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !services.imageCache->lookup(neighbour).isNull(); }, 20000));
    const int limit = Panorama360ViewerView::photoBound().width();
    const QSize kept = services.imageCache->lookup(neighbour).size();
    EXPECT_LE(kept.width(), limit);
    EXPECT_GT(kept.width(), limit / 2) << "no smaller than the GPU's limit needs";
}

TEST_F(PanoramaLayerTest, ASheetClosedWhileAPhotoLoadsAndAStationChangesLeavesNothingRunning)
{
    openTwoColours();
    controller().goToStation(TestTours::stationID(2));
    QTest::qWait(200); // the arrival asked for the blue photo
    sheet.reset();
    QTest::qWait(800);
    EXPECT_EQ(dismissals, 0);
}

} // namespace
