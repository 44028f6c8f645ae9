// The viewer sheet on the whole screen with 8K photos: how long a station
// change takes with and without preloading, the longest gap between two
// painted frames meanwhile, and the memory a long walk needs.
//
// Run under the virtual display:
//   Xvfb :N -screen 0 1920x1080x24 +extension GLX &
//   DISPLAY=:N LIBGL_ALWAYS_SOFTWARE=1 bench_viewer

#include "bench/panorama/BenchPhotos.h"
#include "bench/panorama/FrameTiming.h"
#include "bench/panorama/ProcessMemory.h"
#include "TestTours.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/PanoramaTextureStore.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/MediaBackend.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/BlackCover.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "viewer/station/StationStackView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

namespace {

constexpr QSize screenSize(1920, 1080);
constexpr QSize photoSize(8192, 4096);
constexpr int distinctPhotos = 8;
constexpr int stationCount = 200;
// The fades of a station change, the panorama's fade of a decoded photo and one frame.
constexpr double changeBudgetMs = 180 + 280 + 200 + 1000.0 / 60;
// The machine a visitor is likely to have: the image cache is given the
// budgets it would get there, whatever this machine has, so that the walk's
// checks mean the same everywhere. Beside a browser and the desktop, a viewer
// may hold about a third of it.
constexpr quint64 laptopMemoryBytes = quint64(8) << 30;
constexpr double walkCeilingMiB = 8192.0 / 3;
constexpr double mib = 1 << 20;

struct Fixture
{
    QTemporaryDir dir;
    QHash<QUuid, QUrl> photos;
    L10n language{QStringList{QStringLiteral("fr-FR")}};
    LumivaneAudioService narration;
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(laptopMemoryBytes));
    std::unique_ptr<LumivaneViewerSheet> sheet;
    int station = 1; // the station on screen
    QStringList failedChecks; // fail the run when not empty
};

Fixture *fixture = nullptr;

using FrameTiming::waitUntil;

ViewerController &controller()
{
    return fixture->sheet->controller();
}

Panorama360ViewerView &panorama()
{
    return *fixture->sheet->stationView()->panoramaLayer()->panorama();
}

QUrl photoOf(int station)
{
    return fixture->photos.value(TestTours::stationID(station));
}

int nextStation()
{
    return fixture->station % stationCount + 1;
}

bool fullyShown(int station)
{
    Panorama360ViewerView &view = panorama();
    const SceneNode *sphere = &view.sphere();
    return controller().state().currentStationID == TestTours::stationID(station) && view.inputs().imageURL == photoOf(station)
           && !view.isLoadingPhoto() && sphere->opacity() >= 1.0 && !sphere->hasAction(QStringLiteral("fade"))
           && fixture->sheet->stationView()->transitionCover()->opacity() == 0;
}

struct Change
{
    double shownMs = 0;
    double longestGapMs = 0;
    double longestGapEndMs = 0; // when the longest gap ended, from goToStation
};

// One station change, from goToStation until the first frame after the new
// photo is fully shown. Meanwhile the panorama is asked for a frame every
// 16 ms, as while a visitor drags it, so that any stall shows as a gap
// between two frames; the first gap starts at the last frame before the change.
Change changeStation()
{
    const int target = nextStation();
    QElapsedTimer clock;
    std::optional<qint64> lastFrame;
    qint64 longest = 0;
    qint64 longestEnd = 0;
    qint64 shown = 0;
    bool done = false;
    QTimer drag;
    QObject::connect(&drag, &QTimer::timeout, &panorama(), [] { panorama().update(); });
    auto frames = QObject::connect(&panorama(), &QOpenGLWidget::frameSwapped, &panorama(), [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastFrame && now - *lastFrame > longest) {
            longest = now - *lastFrame;
            longestEnd = now;
        }
        if (qEnvironmentVariableIsSet("BENCH_GAPS") && lastFrame)
            std::fprintf(stderr, "%.0f:%.0f ", double(now) / 1e6, double(now - *lastFrame) / 1e6);
        lastFrame = now;
        if (shown && !done)
            done = true; // the frame that shows it
        else if (!shown && fullyShown(target))
            shown = now;
    });
    clock.start();
    drag.start(16);
    waitUntil([&] { return lastFrame.has_value(); }, 5000);
    const qint64 start = clock.nsecsElapsed();
    controller().goToStation(TestTours::stationID(target));
    if (!waitUntil([&] { return done; }, 30000))
        std::fprintf(stderr, "station %d was not shown\n", target);
    QObject::disconnect(frames);
    fixture->station = target;
    if (qEnvironmentVariableIsSet("BENCH_GAPS"))
        std::fprintf(stderr, "\n");
    return {double(*lastFrame - start) / 1e6, double(longest) / 1e6, double(longestEnd - start) / 1e6};
}

/// Waits until the preloading started at the last arrival has decoded the next photo.
void waitForPreload()
{
    if (!waitUntil([] { return !fixture->cache->lookup(photoOf(nextStation())).isNull(); }, 20000))
        std::fprintf(stderr, "the next photo was not preloaded\n");
}

// The sheet at rest while the visitor drags: what the machine gives.
void BM_FrameGapAtRest(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer drag;
        QObject::connect(&drag, &QTimer::timeout, &panorama(), [] { panorama().update(); });
        auto frames = QObject::connect(&panorama(), &QOpenGLWidget::frameSwapped, &panorama(), [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        drag.start(16);
        waitUntil([] { return false; }, 1500);
        QObject::disconnect(frames);
        state.SetIterationTime(double(longest) / 1e9);
    }
}

void BM_StationChange8K(benchmark::State &state)
{
    const bool preloading = state.range(0) != 0;
    fixture->sheet->setPhotoPreloading(preloading);
    double worstGap = 0;
    double worstGapEnd = 0;
    double total = 0;
    for (auto _ : state) {
        if (preloading) {
            waitForPreload();
        } else {
            waitUntil([] { return false; }, 1500); // lets decodes still under way end
            fixture->cache->emptyFullImageStore();
        }
        const Change change = changeStation();
        if (change.longestGapMs > worstGap) {
            worstGap = change.longestGapMs;
            worstGapEnd = change.longestGapEndMs;
        }
        total += change.shownMs;
        state.SetIterationTime(change.shownMs / 1000.0);
    }
    fixture->sheet->setPhotoPreloading(true);
    state.counters["longest_frame_gap_ms"] = worstGap;
    state.counters["gap_ended_at_ms"] = worstGapEnd;
    state.counters["mean_shown_ms"] = total / double(state.iterations());
    state.counters["budget_ms"] = changeBudgetMs;
}

// Beyond the image cache, what the panorama may hold: its textures that no
// view shows, the two a cross-fade shows (a graphics card keeps these in its
// own memory; the software renderer here, in ours) and one photo decoding.
double panoramaAllowanceMiB()
{
    const double photo = double(photoSize.width()) * photoSize.height();
    const double shownTextures = 2 * photo * 4 * 4 / 3; // RGBA with mipmaps
    const double decoding = photo * 3;
    return (double(PanoramaTextureStore::residentByteBudget) + shownTextures + decoding) / mib;
}

// Fifty preloaded station changes in a row; the peak resident memory
// against what the budgets allow above the memory at rest, and against a
// fixed ceiling. Exceeding either fails the run.
void BM_Walk50Stations8K(benchmark::State &state)
{
    double peakMiB = 0;
    double baselineMiB = 0;
    for (auto _ : state) {
        fixture->cache->emptyFullImageStore();
        waitUntil([] { return false; }, 1000);
        baselineMiB = ProcessMemory::residentMiB();
        ProcessMemory::resetPeakResident();
        for (int step = 0; step < 50; ++step) {
            // The first photo was let go with the rest; each later one is preloaded.
            if (step > 0)
                waitForPreload();
            changeStation();
        }
        peakMiB = ProcessMemory::peakResidentMiB();
    }
    const LumivaneImageCache::Limits limits = fixture->cache->limits();
    const double cacheMiB = double(limits.fullByteBudget + limits.thumbnailByteBudget) / mib;
    const double allowedMiB = baselineMiB + cacheMiB + panoramaAllowanceMiB();
    state.counters["baseline_rss_mib"] = baselineMiB;
    state.counters["peak_rss_mib"] = peakMiB;
    state.counters["cache_budgets_mib"] = cacheMiB;
    state.counters["panorama_allowance_mib"] = panoramaAllowanceMiB();
    state.counters["allowed_by_budgets_mib"] = allowedMiB;
    state.counters["peak_over_budgets_mib"] = peakMiB - allowedMiB;
    state.counters["ceiling_mib"] = walkCeilingMiB;
    state.counters["peak_over_ceiling_mib"] = peakMiB - walkCeilingMiB;
    state.counters["full_store_count_limit"] = limits.fullCountLimit;
    if (peakMiB > allowedMiB)
        fixture->failedChecks << QStringLiteral("walk: peak %1 MiB over the %2 MiB the budgets allow")
                                     .arg(peakMiB, 0, 'f', 0)
                                     .arg(allowedMiB, 0, 'f', 0);
    if (peakMiB > walkCeilingMiB)
        fixture->failedChecks << QStringLiteral("walk: peak %1 MiB over the ceiling of %2 MiB")
                                     .arg(peakMiB, 0, 'f', 0)
                                     .arg(walkCeilingMiB, 0, 'f', 0);
}

void writeTourPhotos(Fixture &f)
{
    std::fprintf(stderr, "writing %d photos of %dx%d...\n", distinctPhotos, photoSize.width(), photoSize.height());
    const QStringList distinct = BenchPhotos::writePhotos(f.dir, distinctPhotos, photoSize.width(), photoSize.height());
    // Every station has a file of its own, so each is a photo of its own to the cache.
    for (int n = 1; n <= stationCount; ++n) {
        const QString path = f.dir.filePath(QStringLiteral("station-%1.jpg").arg(n));
        QFile::link(distinct[n % distinctPhotos], path);
        f.photos.insert(TestTours::stationID(n), QUrl::fromLocalFile(path));
    }
}

void openSheet(Fixture &f)
{
    ViewerServices services;
    services.l10n = &f.language;
    services.narration = &f.narration;
    services.imageCache = f.cache;
    ViewerTour tour;
    tour.project = TestTours::tour(stationCount, 1);
    tour.projectID = tour.project.id;
    tour.photoURLResolver = [&f](const QUuid &id) -> std::optional<QUrl> { return f.photos.value(id); };
    f.sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
    f.sheet->setGeometry(QRect(QPoint(0, 0), screenSize));
    f.sheet->show();
    if (!QTest::qWaitForWindowExposed(f.sheet.get()))
        std::fprintf(stderr, "the sheet was not shown\n");
    f.sheet->controller().startTour();
    if (!waitUntil([] { return fullyShown(1) && !controller().state().showSplash; }, 30000))
        std::fprintf(stderr, "the first station was not shown\n");
}

} // namespace

BENCHMARK(BM_FrameGapAtRest)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_StationChange8K)->ArgName("preloaded")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_Walk50Stations8K)->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char **argv)
{
    pinMediaBackend();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture f;
    fixture = &f;
    writeTourPhotos(f);
    openSheet(f);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    f.sheet.reset();
    for (const QString &check : std::as_const(f.failedChecks))
        std::fprintf(stderr, "FAILED %s\n", qPrintable(check));
    return f.failedChecks.isEmpty() ? 0 : 1;
}
