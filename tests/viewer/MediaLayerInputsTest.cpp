// What the media layers are handed: the panoramas' inputs from the visit,
// the fitted photo rectangle and the photo sizes read from file headers.

#include "support/ViewerSheetFixture.h"

#include "viewer/station/AspectFitRect.h"
#include "viewer/station/PanoramaInputs.h"
#include "viewer/station/PhotoSizeCache.h"
#include "viewer/state/ManualScheduler.h"
#include "tests/support/CaseName.h"

#include <QFile>

namespace {

struct FitCase
{
    QSizeF image;
    QSizeF container;
    QRectF expected;
};

class AspectFitRectTest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(AspectFitRectTest, FitsTheImageWholeAndCentred)
{
    EXPECT_EQ(aspectFitRect(GetParam().image, GetParam().container), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, AspectFitRectTest,
                         ::testing::Values(FitCase{{2000, 1000}, {1000, 1000}, {0, 250, 1000, 500}},
                                           FitCase{{1000, 2000}, {1000, 1000}, {250, 0, 500, 1000}},
                                           FitCase{{1600, 900}, {1600, 900}, {0, 0, 1600, 900}},
                                           FitCase{{4096, 2048}, {1280, 800}, {0, 80, 1280, 640}},
                                           FitCase{{0, 0}, {1280, 800}, {0, 0, 1280, 800}},
                                           FitCase{{800, 0}, {1280, 800}, {0, 0, 1280, 800}},
                                           FitCase{{-4, 3}, {1280, 800}, {0, 0, 1280, 800}},
                                           FitCase{{800, 600}, {0, 800}, {0, 0, 0, 800}}),
                         [](const auto &info) {
                             const QSizeF image = info.param.image;
                             const QSizeF container = info.param.container;
                             return caseName(QStringLiteral("%1x%2 in %3x%4")
                                                 .arg(image.width())
                                                 .arg(image.height())
                                                 .arg(container.width())
                                                 .arg(container.height()));
                         });

TEST(PhotoSizeCacheTest, ReadsEachPhotosHeaderOnceAndGivesNothingForWhatIsNoPhoto)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QImage(640, 320, QImage::Format_RGB32).save(path, "JPG");
    PhotoSizeCache sizes;

    EXPECT_EQ(sizes.size(QUrl::fromLocalFile(path)), QSize(640, 320));
    // Gone from disk, the size is still known: the file is not read again.
    QFile::remove(path);
    EXPECT_EQ(sizes.size(QUrl::fromLocalFile(path)), QSize(640, 320));

    EXPECT_EQ(sizes.size(QUrl()), QSize(0, 0));
    EXPECT_EQ(sizes.size(QUrl::fromLocalFile(dir.filePath("missing.jpg"))), QSize(0, 0));
    QFile text(dir.filePath("notes.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a photo");
    text.close();
    EXPECT_EQ(sizes.size(QUrl::fromLocalFile(text.fileName())), QSize(0, 0));
    // A drawing is no photo: its size would take parsing it whole.
    QFile drawing(dir.filePath("plan.jpg"));
    ASSERT_TRUE(drawing.open(QIODevice::WriteOnly));
    drawing.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="640" height="320"/>)");
    drawing.close();
    EXPECT_EQ(sizes.size(QUrl::fromLocalFile(drawing.fileName())), QSize(0, 0));
}

class PanoramaInputsTest : public ViewerSheetFixture
{
protected:
    /// A controller without widgets, on the tour with photos for every station.
    ViewerController &openController(LumivaneProject project)
    {
        for (const Station &station : project.stations)
            photoURLs.insert(station.id, QUrl::fromLocalFile(QStringLiteral("/photos/%1.jpg").arg(TestTours::stationNumber(station.id))));
        effects = std::make_unique<ServiceViewerEffects>(services);
        bare = std::make_unique<ViewerController>(tourOf(std::move(project)), *effects, scheduler);
        bare->handleViewerAppear();
        bare->startTour();
        return *bare;
    }

    ManualScheduler scheduler;
    std::unique_ptr<ServiceViewerEffects> effects;
    std::unique_ptr<ViewerController> bare;
};

TEST_F(PanoramaInputsTest, TheSinglePanoramaTakesTheStationAndTheVisitsState)
{
    LumivaneProject project = TestTours::tour(3, 2);
    project.stations[0].initialYaw = 1.25;
    project.kioskEnabled = true;
    project.kioskStationDuration = 25;
    project.hotspotStyle = HotspotStyle::haloRipple;
    project.showHotspotLabels = false;
    project.showFloorplan = true;
    project.floorplanImageData = QByteArray("plan");
    ViewerController &c = openController(project);
    c.zoomIn();
    c.levelHorizon();
    const StationLabelMaps labels = StationLabelMaps::of(c);

    Panorama360ViewerView::Inputs inputs = singlePanoramaInputs(c, labels);
    EXPECT_EQ(inputs.imageURL, QUrl::fromLocalFile("/photos/1.jpg"));
    EXPECT_EQ(inputs.hotspots.size(), 2);
    EXPECT_FALSE(inputs.autoRotate);
    EXPECT_FALSE(inputs.hideHotspots);
    EXPECT_EQ(inputs.autoRotateDurationSeconds, 40); // max(25, 40)
    EXPECT_EQ(inputs.initialYaw, 1.25);
    EXPECT_EQ(inputs.initialPitch, std::nullopt);
    EXPECT_EQ(inputs.fov, 65);
    EXPECT_EQ(inputs.resetHorizonTrigger, 1);
    EXPECT_EQ(inputs.visitedStationIDs, QSet<QUuid>{TestTours::stationID(1)});
    EXPECT_EQ(inputs.stationNames.value(TestTours::stationID(2)), "Station 2");
    EXPECT_EQ(inputs.stationNumbers.value(TestTours::stationID(3)), "3");
    EXPECT_EQ(inputs.hotspotStyle, HotspotStyle::haloRipple);
    EXPECT_FALSE(inputs.showHotspotLabels);
    EXPECT_FALSE(inputs.onYawChanged);

    c.toggleKiosk();
    inputs = singlePanoramaInputs(c, labels);
    EXPECT_TRUE(inputs.autoRotate);
    EXPECT_TRUE(inputs.hideHotspots);

    Hotspot info = TestTours::infoHotspot("Cheminée");
    inputs.onHotspotTap(info);
    ASSERT_TRUE(c.state().selectedInfoHotspot);
    EXPECT_EQ(c.state().selectedInfoHotspot->id, info.id);
}

TEST_F(PanoramaInputsTest, EachVRHalfSeesTheStationAtNinetyDegreesWithoutMarkersOrTaps)
{
    LumivaneProject project = TestTours::tour(3, 1);
    project.hotspotStyle = HotspotStyle::haloRipple;
    project.showHotspotLabels = false;
    project.kioskEnabled = true;
    project.showFloorplan = true;
    project.floorplanImageData = QByteArray("plan");
    ViewerController &c = openController(project);
    c.zoomIn();
    c.toggleKiosk();
    c.toggleVRMode();

    const Panorama360ViewerView::Inputs inputs = vrPanoramaInputs(c, StationLabelMaps::of(c));
    EXPECT_EQ(inputs.imageURL, QUrl::fromLocalFile("/photos/1.jpg"));
    EXPECT_EQ(inputs.fov, 90);
    EXPECT_TRUE(inputs.hideHotspots);
    EXPECT_FALSE(inputs.autoRotate);
    EXPECT_EQ(inputs.autoRotateDurationSeconds, 90);
    EXPECT_TRUE(inputs.stationNumbers.isEmpty());
    EXPECT_EQ(inputs.stationNames.size(), 3);
    EXPECT_EQ(inputs.hotspotStyle, HotspotStyle::classic);
    EXPECT_TRUE(inputs.showHotspotLabels);

    inputs.onHotspotTap(c.currentStation()->hotspots.front());
    QCoreApplication::processEvents();
    EXPECT_EQ(c.state().transitionOpacity, 0); // the tap went nowhere
    EXPECT_EQ(c.state().navHistory, QList<QUuid>());
}

TEST_F(PanoramaInputsTest, WhileAChangeFadesToBlackTheArrivingStationsPhotoComesNext)
{
    ViewerController &c = openController(TestTours::tour(3, 1));
    const StationLabelMaps labels = StationLabelMaps::of(c);
    const Panorama360ViewerView::Inputs atRest = singlePanoramaInputs(c, labels);
    EXPECT_TRUE(atRest.arrivingImageURL.isEmpty());

    c.goToStation(TestTours::stationID(2));
    const Panorama360ViewerView::Inputs fading = singlePanoramaInputs(c, labels);
    EXPECT_EQ(fading.imageURL, QUrl::fromLocalFile("/photos/1.jpg"));
    EXPECT_EQ(fading.arrivingImageURL, QUrl::fromLocalFile("/photos/2.jpg"));
    EXPECT_EQ(vrPanoramaInputs(c, labels).arrivingImageURL, fading.arrivingImageURL);
    EXPECT_FALSE(showSame(fading, atRest)) << "the panorama is told what comes next";

    scheduler.advance(1);
    const Panorama360ViewerView::Inputs arrived = singlePanoramaInputs(c, labels);
    EXPECT_EQ(arrived.imageURL, QUrl::fromLocalFile("/photos/2.jpg"));
    EXPECT_TRUE(arrived.arrivingImageURL.isEmpty());
}

TEST_F(PanoramaInputsTest, AStationThatIsNotThereGivesAnEmptyPanorama)
{
    ViewerController &c = openController(TestTours::tour(2));
    c.goToStation(QUuid::createUuid());
    scheduler.advance(1);
    const Panorama360ViewerView::Inputs inputs = singlePanoramaInputs(c, StationLabelMaps::of(c));
    EXPECT_TRUE(inputs.imageURL.isEmpty());
    EXPECT_TRUE(inputs.hotspots.isEmpty());
}

} // namespace
