// The real window on the virtual display with the sample tours: a visitor
// starts the tour, clicks a door, goes back and forward, puts on VR, and
// finds a classic tour's marker where its photo says.

#include "app/ContentView.h"
#include "app/Lumivane_ViewerApp.h"
#include "l10n/L10n.h"
#include "model/NotificationNames.h"
#include "PanoramaProbe.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/ViewerNotifications.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/AspectFitRect.h"
#include "viewer/station/ClassicMediaLayer.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "viewer/station/StationStackView.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString sample(const char *variant)
{
    return QStringLiteral(LUMIVANE_BINARY_DIR "/samples/%1.lumivane").arg(QLatin1String(variant));
}

class ViewerWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        window = std::make_unique<Lumivane_ViewerApp>();
        window->resize(1280, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    /// Opens the sample and presses the cover's start button.
    LumivaneViewerSheet *openAndStart(const char *variant)
    {
        if (!QFile::exists(sample(variant)))
            return nullptr;
        window->loadTour(QUrl::fromLocalFile(sample(variant)));
        auto *sheet = qobject_cast<LumivaneViewerSheet *>(window->contentView()->viewer());
        EXPECT_NE(sheet, nullptr);
        const QString start = L10n::shared().text(L10n::Key::coverStartTour);
        const QList<QAbstractButton *> buttons = sheet->faceView()->findChildren<QAbstractButton *>();
        const auto found = std::find_if(buttons.cbegin(), buttons.cend(),
                                        [&](const QAbstractButton *button) { return button->text() == start; });
        EXPECT_NE(found, buttons.cend());
        if (found != buttons.cend())
            click(*found, (*found)->rect().center()); // the cover goes with it
        EXPECT_EQ(sheet->face(), RootFace::stations);
        return sheet;
    }

    /// A click through the window system, so that the layers decide who takes it.
    void click(QWidget *on, QPoint at) const
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, on->mapTo(window.get(), at));
    }

    void key(Qt::Key pressed, Qt::KeyboardModifiers modifiers) const
    {
        QTest::keyClick(window->windowHandle(), pressed, modifiers);
    }

    /// Waits until the station's photo is on screen, its fades done.
    static void waitUntilSettled(LumivaneViewerSheet &sheet)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sheet.controller().state().showSplash; }, 5000));
        Panorama360ViewerView *panorama = sheet.stationView()->panoramaLayer()->panorama();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panorama->isLoadingPhoto(); }, 10000));
        QTest::qWait(900);
    }

    /// Clicks the first door in view, watches the screen pass through black,
    /// and waits for the door's station; returns its id.
    QUuid walkThroughADoor(LumivaneViewerSheet &sheet) const
    {
        ViewerController &controller = sheet.controller();
        Panorama360ViewerView *panorama = sheet.stationView()->panoramaLayer()->panorama();
        std::optional<QPoint> door;
        Hotspot target;
        const Station here = *controller.currentStation();
        for (const Hotspot &hotspot : here.hotspots) {
            if (hotspot.kind == HotspotKind::navigation && !hotspot.isPending && !door) {
                door = PanoramaProbe::hotspotPoint(*panorama, hotspot.id);
                target = hotspot;
            }
        }
        EXPECT_TRUE(door) << "no door in view";
        if (!door)
            return {};
        const QList<QColor> before = samples(sheet);
        click(panorama, *door);
        int darkest = 255;
        QElapsedTimer fade;
        fade.start();
        while (fade.elapsed() < 500) {
            const QColor seen = PanoramaProbe::screenColor(sheet, m_points[0]);
            darkest = std::min(darkest, std::max({seen.red(), seen.green(), seen.blue()}));
            QTest::qWait(5);
        }
        EXPECT_LT(darkest, 25);
        EXPECT_EQ(controller.state().currentStationID, target.targetStationID);
        waitUntilSettled(sheet);
        EXPECT_GE(differing(before, samples(sheet)), 3);
        return target.targetStationID;
    }

    QList<QColor> samples(LumivaneViewerSheet &sheet) const
    {
        QList<QColor> colors;
        for (QPoint at : m_points)
            colors << PanoramaProbe::screenColor(sheet, at);
        return colors;
    }

    static int differing(const QList<QColor> &a, const QList<QColor> &b)
    {
        int count = 0;
        for (qsizetype i = 0; i < a.size(); ++i)
            count += !PanoramaProbe::isNear(a[i], b[i], 40);
        return count;
    }

    QTemporaryDir m_settings;
    std::unique_ptr<Lumivane_ViewerApp> window;
    const QList<QPoint> m_points{{640, 560}, {900, 470}, {320, 620}, {1000, 300}, {640, 250}, {500, 700}};
};

TEST_F(ViewerWindowTest, TheDemoTourWalksThroughBlackBackAndForwardAndIntoVR)
{
    LumivaneViewerSheet *sheet = openAndStart("demo");
    if (!sheet)
        GTEST_SKIP() << "the sample tours are not built";
    ViewerController &controller = sheet->controller();
    waitUntilSettled(*sheet);

    // Two doors: the history starts with the first move.
    const QUuid first = walkThroughADoor(*sheet);
    const QList<QColor> atFirst = samples(*sheet);
    const QUuid second = walkThroughADoor(*sheet);
    const QList<QColor> atSecond = samples(*sheet);
    EXPECT_GE(differing(atFirst, atSecond), 3);

    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.state().currentStationID == first; }, 2000));
    waitUntilSettled(*sheet);
    EXPECT_EQ(differing(atFirst, samples(*sheet)), 0);
    EXPECT_TRUE(controller.canGoForward());

    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.state().currentStationID == second; }, 2000));
    waitUntilSettled(*sheet);
    EXPECT_EQ(differing(atSecond, samples(*sheet)), 0);

    ViewerNotifications::defaultCenter().post(lumivaneToggleVR);
    PanoramaMediaLayer *media = sheet->stationView()->panoramaLayer();
    ASSERT_TRUE(media->vrHalf(0) && media->vrHalf(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !media->vrHalf(0)->isLoadingPhoto() && !media->vrHalf(1)->isLoadingPhoto(); }, 10000));
    QTest::qWait(900);
    const int halfWidth = media->vrHalf(0)->width();
    const QColor left = PanoramaProbe::screenColor(*sheet, {halfWidth / 2, 500});
    const QColor right = PanoramaProbe::screenColor(*sheet, {sheet->width() - halfWidth / 2, 500});
    EXPECT_TRUE(PanoramaProbe::isNear(left, right, 12)) << "the halves show one view";
    EXPECT_GT(std::max({left.red(), left.green(), left.blue()}), 40);
    const QColor gap = PanoramaProbe::screenColor(*sheet, {halfWidth + 1, 500});
    EXPECT_LT(std::max({gap.red(), gap.green(), gap.blue()}), 10);
}

TEST_F(ViewerWindowTest, AClassicToursMarkerSitsAtItsPlaceInTheFittedPhoto)
{
    LumivaneViewerSheet *sheet = openAndStart("classic");
    if (!sheet)
        GTEST_SKIP() << "the sample tours are not built";
    ClassicMediaLayer *classic = sheet->stationView()->classicLayer();
    ASSERT_NE(classic, nullptr);
    const QList<Hotspot> info = sheet->controller().infoHotspotsOfStation();
    ASSERT_FALSE(info.isEmpty());
    ASSERT_EQ(classic->markers().size(), info.size());

    const std::optional<QUrl> photo = sheet->controller().tour().photoURLResolver(*sheet->controller().state().currentStationID);
    ASSERT_TRUE(photo);
    const QRectF fitted = aspectFitRect(QImageReader(photo->toLocalFile()).size(), classic->size());
    const QPointF expected(fitted.left() + info[0].yaw * fitted.width(), fitted.top() + info[0].pitch * fitted.height());
    EXPECT_TRUE(classic->markers()[0]->geometry().contains(expected.toPoint()));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !sheet->controller().state().showSplash; }, 5000));
    // The splash fades out over the marker; its disc shows once that is done.
    const QPoint onDisc = (expected + QPointF(12, 0)).toPoint();
    const bool discShown = QTest::qWaitFor(
        [&] { return PanoramaProbe::isNear(PanoramaProbe::screenColor(*sheet, onDisc), sheet->accent(), 30); }, 5000);
    EXPECT_TRUE(discShown) << PanoramaProbe::screenColor(*sheet, onDisc).name().toStdString();

    // Its disc is where the hotspot is: a click there opens its card.
    click(classic, expected.toPoint());
    ASSERT_TRUE(sheet->controller().state().selectedInfoHotspot);
    EXPECT_EQ(sheet->controller().state().selectedInfoHotspot->id, info[0].id);
}

} // namespace
