#include "RecordingEffects.h"
#include "TestTours.h"
#include "viewer/state/TimerDelay.h"
#include "viewer/state/TimerScheduler.h"
#include "viewer/state/ViewerController.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace std::chrono_literals;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
// The longest narration a file's header can claim: 2^64 - 2 units of one second.
constexpr double longestHeaderNarration = 18446744073709551614.0;

// Qt's warnings while the capture lives (a negative timer interval is one).
class WarningCapture
{
public:
    WarningCapture()
    {
        s_warnings.clear();
        m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                s_warnings << message;
        });
    }
    ~WarningCapture() { qInstallMessageHandler(m_previous); }
    const QStringList &warnings() const { return s_warnings; }

private:
    static inline QStringList s_warnings;
    QtMessageHandler m_previous;
};

void runEventLoopFor(std::chrono::milliseconds span)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < span.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct DelayCase
{
    const char *name;
    double seconds;
    std::chrono::milliseconds wait;
};

class TimerDelayTest : public ::testing::TestWithParam<DelayCase>
{
};

TEST_P(TimerDelayTest, WaitATimerCanKeep)
{
    EXPECT_EQ(timerDelay(GetParam().seconds), GetParam().wait);
}

constexpr std::chrono::milliseconds longest{std::numeric_limits<int>::max()};

INSTANTIATE_TEST_SUITE_P(
    Table, TimerDelayTest,
    ::testing::Values(DelayCase{"NegativeIsAtOnce", -5, 0ms}, DelayCase{"ZeroIsAtOnce", 0, 0ms},
                      DelayCase{"KioskRearm", 40.2, 40200ms},
                      DelayCase{"LongestKept", 2147483.647, longest},
                      DelayCase{"JustBeyondTheLongest", 2147483.648, longest},
                      DelayCase{"ThreeMillionSeconds", 3e6, longest},
                      DelayCase{"LargestWholeSecondsOfAProject", 9223372036854775807.0, longest},
                      DelayCase{"LongestHeaderNarration", longestHeaderNarration, longest},
                      DelayCase{"LargestDouble", 1e308, longest}, DelayCase{"Infinite", infinity, longest},
                      DelayCase{"NotANumber", std::nan(""), longest}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TimerSchedulerTest, HugeDelaysNeitherRunAtOnceNorGetLost)
{
    const WarningCapture capture;
    TimerScheduler scheduler;
    QObject context;
    QList<double> ran;
    for (const double seconds : {3e6, 9.3e15, 9223372036854775807.0, longestHeaderNarration, 1e308, infinity})
        scheduler.after(seconds, &context, [&ran, seconds] { ran << seconds; });
    bool shortOneRan = false;
    scheduler.after(0.05, &context, [&] { shortOneRan = true; });
    runEventLoopFor(300ms);
    EXPECT_TRUE(shortOneRan);
    EXPECT_EQ(ran, QList<double>());
    // A timer Qt refuses (a negative interval) is lost with a warning.
    EXPECT_EQ(capture.warnings(), QStringList());
}

// A kiosk tour on the running application's timers, with what a package can
// hold: a dwell or a narration far longer than any timer.
struct KioskCase
{
    const char *name;
    RenderMode mode;
    qint64 stationSeconds; // kioskStationDuration, or classicPhotoDurationSec in classic tours
    double narrationSeconds;
};

class HugeKioskDwellTest : public ::testing::TestWithParam<KioskCase>
{
};

TEST_P(HugeKioskDwellTest, StaysOnItsStation)
{
    const KioskCase &c = GetParam();
    LumivaneProject project = TestTours::tour(3);
    project.kioskEnabled = true;
    project.renderMode = c.mode;
    project.kioskStationDuration = c.stationSeconds;
    project.classicPhotoDurationSec = c.stationSeconds;
    ViewerTour tour;
    tour.project = project;
    tour.photoURLResolver = [](const QUuid &) { return std::optional<QUrl>(); };
    tour.audioURLResolver = [](const QUuid &) { return std::optional<QUrl>(QUrl::fromLocalFile("/a.m4a")); };
    RecordingEffects effects;
    effects.narrationSeconds = c.narrationSeconds;
    TimerScheduler scheduler;
    ViewerController controller(tour, effects, scheduler);
    controller.handleViewerAppear();
    controller.startTour();
    const WarningCapture capture;
    controller.toggleKiosk();
    runEventLoopFor(300ms);
    EXPECT_EQ(controller.state().currentStationID, TestTours::stationID(1));
    EXPECT_TRUE(controller.state().kioskActive);
    EXPECT_EQ(capture.warnings(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Table, HugeKioskDwellTest,
    ::testing::Values(KioskCase{"LargestProjectDuration", RenderMode::simple, std::numeric_limits<qint64>::max(), 0},
                      KioskCase{"ThreeMillionSecondsPerPhoto", RenderMode::classic, 3000000, 0},
                      KioskCase{"LongestHeaderNarration", RenderMode::simple, 40, longestHeaderNarration},
                      KioskCase{"LargestDoubleNarration", RenderMode::classic, 3, 1e308}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
