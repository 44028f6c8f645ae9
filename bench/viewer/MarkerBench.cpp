// The demo tour in the viewer sheet at full HD, as written, and with its
// start station carrying 10,000 or 100,000 more markers spread over the whole
// sphere: the frames while the visitor turns the view, a wheel notch, a click
// on a marker, the change back to the crowded station, Tab from marker to
// marker, and the memory the sheet holds over what the process held before
// it. The ordinary tour and 100,000 markers more are then run again with a
// screen reader listening (BM_CrowdedStationHeard): the accessibility bus
// on, and everything the viewer tells it read as a screen reader reads it.
// A crowded station may take no frame, click or Tab more than 100 ms longer
// than the ordinary tour, with or without the reader; exceeding that fails
// the run.
//
// Run under the virtual display:
//   Xvfb :N -screen 0 1920x1080x24 +extension GLX &
//   DISPLAY=:N LIBGL_ALWAYS_SOFTWARE=1 bench_viewer_markers

#include "bench/panorama/FrameTiming.h"
#include "bench/panorama/ProcessMemory.h"
#include "tests/panels/cover/CoverTestTours.h"
#include "tests/support/AccessibilityEvents.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/MediaBackend.h"
#include "model/StationOrder.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/BlackCover.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "viewer/station/StationStackView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <numbers>

namespace {

using FrameTiming::waitUntil;

constexpr QSize screenSize(1920, 1080);
constexpr double allowanceOverOrdinaryMs = 100;
constexpr int turnSteps = 40;
constexpr int tabSteps = 10;

struct Figures
{
    double turnFrameMeanMs = 0;
    double turnFrameMaxMs = 0;
    double wheelMaxMs = 0;
    double clickMaxMs = 0;
    double changeGapMaxMs = 0;
    double changeShownMaxMs = 0;
    double tabMaxMs = 0;
    double residentMiB = 0; // over what the process held before the sheet
    double peakResidentMiB = 0;
};

/// What a screen reader asks of each event it hears: the name, role, state
/// and place of what it is about, the place among its siblings of what took
/// the focus, and every child of what says its children changed, as the
/// accessibility bridge walks them to tell the reader. Events go on to the
/// recording helper, which keeps the accessibility bus up. Made before any
/// widget: Qt finds accessibility on or off once per process.
class ScreenReader
{
public:
    ScreenReader()
    {
        s_reader = this;
        m_previous = QAccessible::installUpdateHandler(&ScreenReader::hear);
    }
    ~ScreenReader()
    {
        QAccessible::installUpdateHandler(m_previous);
        s_reader = nullptr;
    }
    ScreenReader(const ScreenReader &) = delete;
    ScreenReader &operator=(const ScreenReader &) = delete;

    bool isListening() const { return m_bus.isActive(); }

private:
    static void hear(QAccessibleEvent *event)
    {
        s_reader->m_previous(event);
        QAccessibleInterface *about = event->accessibleInterface();
        if (!about)
            return;
        read(*about);
        if (event->type() == QAccessible::Focus) {
            if (QAccessibleInterface *parent = about->parent()) {
                parent->indexOfChild(about);
                parent->childCount();
            }
        } else if (event->type() == QAccessible::ObjectReorder) {
            for (int i = 0; i < about->childCount(); ++i) {
                if (QAccessibleInterface *child = about->child(i))
                    read(*child);
            }
        }
    }

    static void read(QAccessibleInterface &item)
    {
        item.text(QAccessible::Name);
        item.role();
        item.state();
        item.rect();
    }

    static inline ScreenReader *s_reader = nullptr;
    AccessibilityEvents m_bus; // first: the bus is up before the reader listens
    QAccessible::UpdateHandler m_previous = nullptr;
};

struct Fixture
{
    std::unique_ptr<UnpackedTour> demo;
    L10n language{QStringList{QStringLiteral("fr-FR")}};
    LumivaneAudioService narration;
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(quint64(8) << 30));
    std::unique_ptr<LumivaneViewerSheet> sheet;
    std::map<int, Figures> figures; // by markers added
};

Fixture *fixture = nullptr;

ViewerController &controller()
{
    return fixture->sheet->controller();
}

Panorama360ViewerView &panorama()
{
    return *fixture->sheet->stationView()->panoramaLayer()->panorama();
}

QUuid startID()
{
    return startStation(fixture->demo->project)->id;
}

// `count` markers spread evenly over the sphere (a Fibonacci lattice), leading
// to the tour's other stations in turn: the look with the most planes, and
// labels.
QList<Hotspot> crowd(const LumivaneProject &project, int count)
{
    QList<QUuid> targets;
    for (const Station &station : project.stations) {
        if (station.id != startID())
            targets << station.id;
    }
    QList<Hotspot> hotspots;
    hotspots.reserve(count);
    const double golden = std::numbers::pi * (3.0 - std::sqrt(5.0));
    for (int i = 0; i < count; ++i) {
        Hotspot hotspot;
        hotspot.id = QUuid::createUuid();
        hotspot.pitch = std::asin(1.0 - 2.0 * (i + 0.5) / count);
        hotspot.yaw = std::remainder(golden * i, 2 * std::numbers::pi);
        hotspot.kind = HotspotKind::navigation;
        hotspot.targetStationID = targets[i % targets.size()];
        hotspots << hotspot;
    }
    return hotspots;
}

bool settledAt(const QUuid &station)
{
    const SceneNode &sphere = panorama().sphere();
    return controller().state().currentStationID == station && !panorama().isLoadingPhoto() && sphere.opacity() >= 1.0
           && !sphere.hasAction(QStringLiteral("fade"))
           && fixture->sheet->stationView()->transitionCover()->opacity() == 0;
}

void openSheet(int addedMarkers)
{
    ViewerTour tour;
    tour.project = fixture->demo->project;
    for (Station &station : tour.project.stations) {
        if (station.id == startID())
            station.hotspots += crowd(tour.project, addedMarkers);
    }
    tour.projectID = tour.project.id;
    tour.photoURLResolver = [demo = fixture->demo.get()](const QUuid &id) -> std::optional<QUrl> {
        return demo->photoURL(id);
    };
    ViewerServices services;
    services.l10n = &fixture->language;
    services.narration = &fixture->narration;
    services.imageCache = fixture->cache;
    fixture->sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
    fixture->sheet->setGeometry(QRect(QPoint(0, 0), screenSize));
    fixture->sheet->show();
    fixture->sheet->activateWindow(); // Tab steps through markers only in the active window
    if (!QTest::qWaitForWindowActive(fixture->sheet.get()))
        std::fprintf(stderr, "the sheet was not shown\n");
    controller().startTour();
    controller().hideSplash();
    if (!waitUntil([] { return settledAt(startID()); }, 60000))
        std::fprintf(stderr, "the start station was not shown\n");
}

// Milliseconds from an input event sent to the panorama until the frame
// after it is on the window.
template<typename Send>
double eventToFrame(Send send)
{
    bool swapped = false;
    auto connection = QObject::connect(&panorama(), &QOpenGLWidget::frameSwapped, &panorama(), [&] { swapped = true; });
    QElapsedTimer clock;
    clock.start();
    send();
    panorama().update();
    waitUntil([&] { return swapped; }, 60000);
    QObject::disconnect(connection);
    return double(clock.nsecsElapsed()) / 1e6;
}

void sendMouse(QEvent::Type type, QPointF at)
{
    Panorama360ViewerView &view = panorama();
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view.mapToGlobal(at), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(&view, &event);
}

// A drag to the right and back, one frame per step.
void turn(Figures &figures)
{
    const QPointF start(screenSize.width() / 2.0, screenSize.height() - 200.0);
    QPointF at = start + QPointF(QApplication::startDragDistance() + 1, 0);
    sendMouse(QEvent::MouseButtonPress, start);
    sendMouse(QEvent::MouseMove, at);
    double total = 0;
    for (int step = 0; step < turnSteps; ++step) {
        at += QPointF(step < turnSteps / 2 ? 25 : -25, 0);
        const double ms = eventToFrame([&] { sendMouse(QEvent::MouseMove, at); });
        total += ms;
        figures.turnFrameMaxMs = std::max(figures.turnFrameMaxMs, ms);
    }
    sendMouse(QEvent::MouseButtonRelease, at);
    figures.turnFrameMeanMs = std::max(figures.turnFrameMeanMs, total / turnSteps);
}

void wheelNotch(Figures &figures, int direction)
{
    const QPointF at(screenSize.width() / 2.0, screenSize.height() / 2.0);
    const double ms = eventToFrame([&] {
        QWheelEvent event(at, panorama().mapToGlobal(at), {}, QPoint(0, 120 * direction), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&panorama(), &event);
    });
    figures.wheelMaxMs = std::max(figures.wheelMaxMs, ms);
}

// A click on the way out nearest the middle of the view.
void clickAWayOut(Figures &figures)
{
    const QPointF middle(screenSize.width() / 2.0, screenSize.height() / 2.0);
    std::optional<QPointF> at;
    for (const PanoramaMarkerPlace &place : panorama().visibleMarkers()) {
        const std::optional<Hotspot> hotspot = panorama().markerHotspot(place.hotspotID);
        const QPointF centre = place.rect.center();
        if (hotspot && hotspot->kind == HotspotKind::navigation
            && (!at || (centre - middle).manhattanLength() < (*at - middle).manhattanLength()))
            at = centre;
    }
    if (!at) {
        std::fprintf(stderr, "no way out in view\n");
        return;
    }
    const double ms = eventToFrame([&] {
        sendMouse(QEvent::MouseButtonPress, *at);
        sendMouse(QEvent::MouseButtonRelease, *at);
    });
    figures.clickMaxMs = std::max(figures.clickMaxMs, ms);
    const auto leftForAnother = [] {
        return controller().state().currentStationID != startID() && !controller().state().arrivingStationID;
    };
    if (!waitUntil(leftForAnother, 60000))
        std::fprintf(stderr, "the click led nowhere\n");
}

// Tab from marker to marker round the station, starting on the view, each
// press timed to the frame after it; the view turns to a marker out of the
// middle before the next press.
void tabRound(Figures &figures)
{
    Panorama360ViewerView &view = panorama();
    for (int step = 0; step < tabSteps; ++step) {
        // Past the last marker of the ordinary station, Tab has left the view.
        if (!view.hasFocus())
            view.setFocus(Qt::TabFocusReason);
        const double ms = eventToFrame([&] { QTest::keyClick(&view, Qt::Key_Tab); });
        figures.tabMaxMs = std::max(figures.tabMaxMs, ms);
        const SceneNode &sphere = view.sphere();
        waitUntil([&] { return sphere.presentedEulerAngles(view.scene().clock().now()) == sphere.eulerAngles(); },
                  5000);
    }
}

// Back to the crowded station while the view is asked for a frame every
// 16 ms: the longest gap between two frames, and the time until it is shown.
void changeBack(Figures &figures)
{
    waitUntil([] { return settledAt(*controller().state().currentStationID); }, 60000);
    QElapsedTimer clock;
    std::optional<qint64> lastFrame;
    qint64 longest = 0;
    QTimer drag;
    QObject::connect(&drag, &QTimer::timeout, &panorama(), [] { panorama().update(); });
    auto frames = QObject::connect(&panorama(), &QOpenGLWidget::frameSwapped, &panorama(), [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastFrame)
            longest = std::max(longest, now - *lastFrame);
        lastFrame = now;
    });
    clock.start();
    drag.start(16);
    waitUntil([&] { return lastFrame.has_value(); }, 5000);
    const qint64 start = clock.nsecsElapsed();
    controller().goToStation(startID());
    if (!waitUntil([] { return settledAt(startID()); }, 60000))
        std::fprintf(stderr, "the crowded station was not shown again\n");
    QObject::disconnect(frames);
    figures.changeGapMaxMs = std::max(figures.changeGapMaxMs, double(longest) / 1e6);
    figures.changeShownMaxMs = std::max(figures.changeShownMaxMs, double(clock.nsecsElapsed() - start) / 1e6);
}

void BM_CrowdedStation(benchmark::State &state)
{
    const int added = int(state.range(0));
    malloc_trim(0); // what earlier sheets freed is not counted again
    const double baselineMiB = ProcessMemory::residentMiB();
    ProcessMemory::resetPeakResident();
    openSheet(added);
    Figures figures;
    for (auto _ : state) {
        turn(figures);
        wheelNotch(figures, 1);
        wheelNotch(figures, -1);
        clickAWayOut(figures);
        changeBack(figures);
        tabRound(figures);
        state.SetIterationTime(figures.turnFrameMaxMs / 1000.0);
    }
    figures.residentMiB = ProcessMemory::residentMiB() - baselineMiB;
    figures.peakResidentMiB = ProcessMemory::peakResidentMiB() - baselineMiB;
    fixture->sheet.reset();
    waitUntil([] { return false; }, 500);
    fixture->figures[added] = figures;
    state.counters["turn_frame_mean_ms"] = figures.turnFrameMeanMs;
    state.counters["turn_frame_max_ms"] = figures.turnFrameMaxMs;
    state.counters["wheel_ms"] = figures.wheelMaxMs;
    state.counters["click_ms"] = figures.clickMaxMs;
    state.counters["change_gap_ms"] = figures.changeGapMaxMs;
    state.counters["change_shown_ms"] = figures.changeShownMaxMs;
    state.counters["tab_ms"] = figures.tabMaxMs;
    state.counters["sheet_rss_mib"] = figures.residentMiB;
    state.counters["sheet_peak_rss_mib"] = figures.peakResidentMiB;
}

// Each crowded station's worst frame, notch, click, gap and Tab against the ordinary tour's.
QStringList checksOverOrdinary()
{
    QStringList failed;
    const auto ordinary = fixture->figures.find(0);
    if (ordinary == fixture->figures.end())
        return failed;
    const Figures &o = ordinary->second;
    for (const auto &[added, f] : fixture->figures) {
        const std::pair<const char *, double> over[] = {
            {"turning frame", f.turnFrameMaxMs - o.turnFrameMaxMs},
            {"wheel notch", f.wheelMaxMs - o.wheelMaxMs},
            {"click", f.clickMaxMs - o.clickMaxMs},
            {"frame gap of the change", f.changeGapMaxMs - o.changeGapMaxMs},
            {"Tab", f.tabMaxMs - o.tabMaxMs},
        };
        for (const auto &[what, ms] : over) {
            std::printf("%d markers more: %s %+.0f ms over the ordinary tour\n", added, what, ms);
            if (ms > allowanceOverOrdinaryMs)
                failed << QStringLiteral("%1 markers: %2 %3 ms over")
                              .arg(added)
                              .arg(QLatin1String(what))
                              .arg(ms, 0, 'f', 0);
        }
        std::printf("%d markers more: %+.0f MiB resident over the ordinary tour\n", added,
                    f.residentMiB - o.residentMiB);
    }
    return failed;
}

const QString screenReaderOption = QStringLiteral("--screen-reader");

void registerRows(bool screenReader)
{
    const QList<int> added = screenReader ? QList<int>{0, 100000} : QList<int>{0, 10000, 100000};
    benchmark::internal::Benchmark *rows =
        benchmark::RegisterBenchmark(screenReader ? "BM_CrowdedStationHeard" : "BM_CrowdedStation", BM_CrowdedStation);
    rows->ArgName("markers")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
    for (const int markers : added)
        rows->Arg(markers);
}

// The same rows with a screen reader listening, in a process of their own:
// this program again, with its arguments and the option.
bool runHeard()
{
    std::fflush(stdout);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    arguments << screenReaderOption;
    return QProcess::execute(QCoreApplication::applicationFilePath(), arguments) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    pinMediaBackend();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const bool screenReader = QCoreApplication::arguments().contains(screenReaderOption);
    std::unique_ptr<ScreenReader> reader;
    if (screenReader) {
        reader = std::make_unique<ScreenReader>();
        if (!reader->isListening()) {
            std::fprintf(stderr, "FAILED no accessibility bus\n");
            return 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    registerRows(screenReader);
    Fixture f;
    fixture = &f;
    std::fprintf(stderr, "writing the demo tour...\n");
    f.demo = unpackedSampleTour(SampleTourVariant::Demo, 4096);
    if (!f.demo)
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const QStringList failed = checksOverOrdinary();
    for (const QString &check : failed)
        std::fprintf(stderr, "FAILED %s%s\n", screenReader ? "with a screen reader: " : "", qPrintable(check));
    const bool heardMet = screenReader || runHeard();
    return failed.isEmpty() && heardMet ? 0 : 1;
}
