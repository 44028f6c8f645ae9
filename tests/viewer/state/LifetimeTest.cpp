#include "ViewerTestFixture.h"

#include "viewer/state/TimerScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

TEST_F(ViewerTestFixture, NothingRunsAfterTheControllerIsGone)
{
    LumivaneProject project = TestTours::tour(3);
    project.kioskEnabled = true;
    open(project);
    controller->handleViewerAppear(); // the splash is pending
    controller->startTour();
    controller->toggleKiosk(); // a dwell is pending
    go(2); // an arrival is pending
    EXPECT_EQ(scheduler.pendingCount(), 3);
    controller.reset();
    effects.log.clear();
    scheduler.advance(1000);
    EXPECT_EQ(effects.log, QStringList());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST(TimerSchedulerTest, RunsOnTheEventLoopUnlessItsContextIsGone)
{
    TimerScheduler scheduler;
    QObject kept;
    auto dropped = std::make_unique<QObject>();
    QStringList ran;
    scheduler.after(0, &kept, [&] { ran << "kept"; });
    scheduler.after(0, dropped.get(), [&] { ran << "dropped"; });
    dropped.reset();
    QElapsedTimer waited;
    waited.start();
    while (ran.isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(ran, QStringList({"kept"}));
}

TEST_F(ViewerTestFixture, AppearanceAndTeardown)
{
    LumivaneProject project = TestTours::tour(2, 1);
    project.ambientSoundData = QByteArray("sound");
    open(project);
    controller->handleViewerAppear();
    EXPECT_EQ(effects.log, QStringList({"prefetch:1", "prefetch:2", "ambient.play:1"}));
    scheduler.advance(1.19);
    EXPECT_TRUE(controller->state().showSplash);
    scheduler.advance(0.01);
    EXPECT_FALSE(controller->state().showSplash);
    EXPECT_EQ(animations.back().seconds, 0.4);

    effects.log.clear();
    controller->tearDownViewer();
    EXPECT_EQ(effects.log, QStringList({"narration.stop", "ambient.stop", "narration.stop", "speech.stop", "images.empty"}));
}

} // namespace
