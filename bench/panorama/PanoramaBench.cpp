#include "BareQuadWidget.h"
#include "BenchPhotos.h"
#include "BenchViews.h"
#include "FirstPhotoRun.h"
#include "FrameTiming.h"

#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "media/panorama/PanoramaJpegDecoder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

// Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench_panorama
using namespace BenchViews;

namespace {

constexpr QSize screenSize(1920, 1080);
constexpr QSize photoSize(8192, 4096);

struct Fixture
{
    QTemporaryDir dir;
    QStringList photos;
    int nextUncached = 1;
    // Sized for this machine, as the application's own cache is.
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));

    QUrl takeUncached()
    {
        if (nextUncached >= photos.size())
            qFatal("the benchmarks want more photos than were written");
        return QUrl::fromLocalFile(photos.at(nextUncached++));
    }
};

Fixture *fixture = nullptr;

struct Summary
{
    double panoramaFrameMs = 0;
    double quadFrameMs = 0;
} summary;

// Average time of a painted frame: each iteration asks for a repaint and
// waits until the frame is on the window.
double paintFrames(QOpenGLWidget &widget, benchmark::State &state)
{
    QEventLoop loop;
    auto connection = QObject::connect(&widget, &QOpenGLWidget::frameSwapped, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        widget.update();
        loop.exec();
    }
    QObject::disconnect(connection);
    return double(timer.nsecsElapsed()) / 1e6 / double(state.iterations());
}

std::unique_ptr<Panorama360ViewerView> shownView(const Panorama360ViewerView::Inputs &inputs)
{
    auto view = std::make_unique<Panorama360ViewerView>(inputs, fixture->cache);
    view->resize(screenSize);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()) || !FrameTiming::waitUntil([&view] { return fullyShown(*view); }, 20000))
        std::fprintf(stderr, "the view did not show its photo\n");
    return view;
}

// Frame time of the panorama with 20 animated hotspots against a bare
// full-screen textured quad, in alternating blocks of frames with one of the
// two on screen, so that the machine's changing load weighs on both alike.
double blockOfFrames(QOpenGLWidget &shown, QOpenGLWidget &hidden, int frames)
{
    hidden.hide();
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown))
        std::fprintf(stderr, "a window was not shown\n");
    return FrameTiming::timeFrames(shown, frames);
}

void BM_FrameTimePanoramaVersusBareQuad(benchmark::State &state)
{
    auto view = shownView(viewInputs(QUrl::fromLocalFile(fixture->photos.first())));
    QImageReader reader(fixture->photos.first());
    BareQuadWidget quad(reader.read());
    quad.resize(screenSize);
    constexpr int framesPerBlock = 60;
    double panoramaMs = 0;
    double quadMs = 0;
    for (auto _ : state) {
        panoramaMs += blockOfFrames(*view, quad, framesPerBlock);
        quadMs += blockOfFrames(quad, *view, framesPerBlock);
    }
    const double frames = double(state.iterations()) * framesPerBlock;
    summary.panoramaFrameMs = panoramaMs / frames;
    summary.quadFrameMs = quadMs / frames;
    state.counters["panorama_ms"] = summary.panoramaFrameMs;
    state.counters["quad_ms"] = summary.quadFrameMs;
    state.counters["ratio"] = summary.panoramaFrameMs / summary.quadFrameMs;
}

void BM_PanoramaFrameWithoutHotspots(benchmark::State &state)
{
    Panorama360ViewerView::Inputs inputs = viewInputs(QUrl::fromLocalFile(fixture->photos.first()));
    inputs.hideHotspots = true;
    auto view = shownView(inputs);
    paintFrames(*view, state);
}

// What one station change shows and when: the longest gap between two
// painted frames from the moment the new photo is asked for until it is
// fully shown, and (from that same moment) the first frame with a picture of
// the new photo on the sphere and the first with it at full resolution, each
// drawn at half opacity or more.
// Auto-rotation and the animated markers keep the view painting all the
// time, as during a kiosk tour.
struct StationChange
{
    double longestGapMs = 0;
    double previewMs = 0;
    double fullMs = 0;
    double shownMs = 0;
};

StationChange changeStation(Panorama360ViewerView &view, const QUrl &url)
{
    StationChange change;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    const SceneTexture *before = view.coordinator().sphereNode->geometry()->firstMaterial().texture.get();
    auto connection = QObject::connect(&view, &QOpenGLWidget::frameSwapped, &view, [&] {
        const qint64 now = clock.nsecsElapsed();
        const SceneTexture *shown = view.coordinator().sphereNode->geometry()->firstMaterial().texture.get();
        if (!change.previewMs && shown != before && photoShown(view))
            change.previewMs = double(now) / 1e6;
        if (!change.fullMs && shown != before && fullResolutionShown(view))
            change.fullMs = double(now) / 1e6;
        if (qEnvironmentVariableIsSet("BENCH_GAPS"))
            std::fprintf(stderr, "%.0f ", double(now - last) / 1e6);
        longest = std::max(longest, now - last);
        last = now;
    });
    Panorama360ViewerView::Inputs inputs = view.inputs();
    inputs.imageURL = url;
    view.setInputs(inputs);
    // Fully shown, and a frame painted since the full resolution arrived.
    if (!FrameTiming::waitUntil([&view, &change] { return fullyShown(view) && change.fullMs > 0; }, 20000))
        std::fprintf(stderr, "the new photo was not shown\n");
    change.shownMs = double(clock.nsecsElapsed()) / 1e6;
    FrameTiming::waitUntil([] { return false; }, 50);
    QObject::disconnect(connection);
    change.longestGapMs = double(longest) / 1e6;
    return change;
}

std::unique_ptr<Panorama360ViewerView> rotatingView()
{
    Panorama360ViewerView::Inputs inputs = viewInputs(QUrl::fromLocalFile(fixture->photos.first()));
    inputs.autoRotate = true;
    inputs.autoRotateDurationSeconds = 40;
    return shownView(inputs);
}

// The same view turning with no station change: what the machine gives.
void BM_FrameGapWithoutStationChange(benchmark::State &state)
{
    auto view = rotatingView();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        auto connection = QObject::connect(view.get(), &QOpenGLWidget::frameSwapped, view.get(), [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        FrameTiming::waitUntil([] { return false; }, 1500);
        QObject::disconnect(connection);
        state.SetIterationTime(double(longest) / 1e9);
    }
}

void BM_FrameGapUncachedStationChange8K(benchmark::State &state)
{
    auto view = rotatingView();
    for (auto _ : state) {
        fixture->cache->emptyFullImageStore();
        state.SetIterationTime(changeStation(*view, fixture->takeUncached()).longestGapMs / 1000.0);
    }
}

// Two threads that only compute, as `stress -c 2` runs beside the viewer.
class BusyCores
{
public:
    explicit BusyCores(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_threads.emplace_back([this] {
                volatile quint64 sink = 0;
                while (!m_stop.load(std::memory_order_relaxed))
                    sink = sink * 6364136223846793005ull + 1442695040888963407ull;
            });
        }
    }
    ~BusyCores()
    {
        m_stop = true;
        for (std::thread &thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_stop = false;
    std::vector<std::thread> m_threads;
};

void BM_FrameGapUncachedStationChange8KWithTwoBusyCores(benchmark::State &state)
{
    auto view = rotatingView();
    const BusyCores busy(2);
    for (auto _ : state) {
        fixture->cache->emptyFullImageStore();
        state.SetIterationTime(changeStation(*view, fixture->takeUncached()).longestGapMs / 1000.0);
    }
}

void BM_FrameGapCachedStationChange8K(benchmark::State &state)
{
    auto view = rotatingView();
    double previewTotal = 0;
    double fullTotal = 0;
    for (auto _ : state) {
        // Decoded into the image cache beforehand, as the viewer's preloading does.
        const QUrl url = fixture->takeUncached();
        fixture->cache->image(url);
        const StationChange change = changeStation(*view, url);
        previewTotal += change.previewMs;
        fullTotal += change.fullMs;
        state.SetIterationTime(change.longestGapMs / 1000.0);
    }
    // The new photo's first frame (the old one stays until then) and its full resolution.
    state.counters["preview_ms"] = previewTotal / double(state.iterations());
    state.counters["full_ms"] = fullTotal / double(state.iterations());
}

void BM_FrameGapCachedResidentStationChange8K(benchmark::State &state)
{
    auto view = rotatingView();
    const QUrl first = view->inputs().imageURL;
    const QUrl second = fixture->takeUncached();
    changeStation(*view, second);
    for (auto _ : state) {
        // Back and forth between two photos that stay on the GPU.
        const QUrl target = view->inputs().imageURL == first ? second : first;
        state.SetIterationTime(changeStation(*view, target).longestGapMs / 1000.0);
    }
}

double djpegMs(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
    return double(timer.nsecsElapsed()) / 1e6;
}

// From the moment an uncached photo is given to a view that already shows
// frames, against djpeg's decode of the same file in the same iteration.
void BM_TimeToFullyShownUncached8K(benchmark::State &state)
{
    auto view = rotatingView();
    double djpegTotal = 0;
    double previewTotal = 0;
    double fullTotal = 0;
    double shownTotal = 0;
    for (auto _ : state) {
        fixture->cache->emptyFullImageStore();
        const QUrl url = fixture->takeUncached();
        const StationChange change = changeStation(*view, url);
        previewTotal += change.previewMs;
        fullTotal += change.fullMs;
        shownTotal += change.shownMs;
        djpegTotal += djpegMs(url.toLocalFile());
        state.SetIterationTime(change.shownMs / 1000.0);
    }
    const double n = double(state.iterations());
    state.counters["djpeg_ms"] = djpegTotal / n;
    state.counters["preview_ms"] = previewTotal / n;
    state.counters["full_ms"] = fullTotal / n;
    state.counters["preview_to_djpeg"] = previewTotal / djpegTotal;
    state.counters["full_to_djpeg"] = fullTotal / djpegTotal;
}

// A fresh process with a view of one photo, then one switch (FirstPhotoRun),
// and djpeg on the same file in the same iteration as the floor.
void BM_FirstPhotoOfAProcess(benchmark::State &state)
{
    const int width = int(state.range(0));
    static QTemporaryDir dir;
    const QString first = BenchPhotos::writePhoto(dir, QStringLiteral("first-%1.jpg").arg(width), width, width / 2, 7);
    const QString second = BenchPhotos::writePhoto(dir, QStringLiteral("second-%1.jpg").arg(width), width, width / 2, 8);
    FirstPhotoRun::Figures sum;
    double djpegTotal = 0;
    for (auto _ : state) {
        const std::optional<FirstPhotoRun::Figures> figures =
            FirstPhotoRun::measure(QCoreApplication::applicationFilePath(), first, second);
        if (!figures) {
            state.SkipWithError("the child process failed");
            return;
        }
        djpegTotal += djpegMs(first);
        state.SetIterationTime(figures->processToFullMs / 1000.0);
        sum.processToPreviewMs += figures->processToPreviewMs;
        sum.processToFullMs += figures->processToFullMs;
        sum.viewToPreviewMs += figures->viewToPreviewMs;
        sum.viewToFullMs += figures->viewToFullMs;
        sum.switchToPreviewMs += figures->switchToPreviewMs;
        sum.switchToFullMs += figures->switchToFullMs;
        sum.peakAfterFirstMiB = std::max(sum.peakAfterFirstMiB, figures->peakAfterFirstMiB);
        sum.pssAfterFirstMiB = std::max(sum.pssAfterFirstMiB, figures->pssAfterFirstMiB);
        sum.peakAfterSwitchMiB = std::max(sum.peakAfterSwitchMiB, figures->peakAfterSwitchMiB);
        sum.pssAfterSwitchMiB = std::max(sum.pssAfterSwitchMiB, figures->pssAfterSwitchMiB);
    }
    const double n = double(state.iterations());
    state.counters["djpeg_ms"] = djpegTotal / n;
    state.counters["proc_preview_ms"] = sum.processToPreviewMs / n;
    state.counters["proc_full_ms"] = sum.processToFullMs / n;
    state.counters["view_preview_ms"] = sum.viewToPreviewMs / n;
    state.counters["view_full_ms"] = sum.viewToFullMs / n;
    state.counters["switch_preview_ms"] = sum.switchToPreviewMs / n;
    state.counters["switch_full_ms"] = sum.switchToFullMs / n;
    state.counters["switch_preview_to_djpeg"] = sum.switchToPreviewMs / djpegTotal;
    state.counters["switch_full_to_djpeg"] = sum.switchToFullMs / djpegTotal;
    // The largest of the iterations, in MiB.
    state.counters["peak_first"] = sum.peakAfterFirstMiB;
    state.counters["pss_first"] = sum.pssAfterFirstMiB;
    state.counters["peak_switch"] = sum.peakAfterSwitchMiB;
    state.counters["pss_switch"] = sum.pssAfterSwitchMiB;
}

void BM_BandDecode8K(benchmark::State &state)
{
    const QString path = fixture->photos.first();
    for (auto _ : state) {
        const QImage image = PanoramaJpegDecoder::decode(path, 16384, 256, [](QSize) {}, [](const QImage &, int, int) {});
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Djpeg8K(benchmark::State &state)
{
    const QString path = fixture->photos.first();
    for (auto _ : state)
        state.SetIterationTime(djpegMs(path) / 1000.0);
}

} // namespace

BENCHMARK(BM_BandDecode8K)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Djpeg8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_FrameTimePanoramaVersusBareQuad)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_PanoramaFrameWithoutHotspots)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FrameGapWithoutStationChange)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FrameGapUncachedStationChange8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FrameGapUncachedStationChange8KWithTwoBusyCores)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_FrameGapCachedStationChange8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FrameGapCachedResidentStationChange8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
BENCHMARK(BM_TimeToFullyShownUncached8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FirstPhotoOfAProcess)->Arg(4096)->Arg(8192)->Arg(16384)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char **argv)
{
    // As the application does: every view shares one GL context group.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], FirstPhotoRun::option) == 0)
        return FirstPhotoRun::run(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    benchmark::Initialize(&argc, argv);
    Fixture photos;
    // One for every uncached station change of the benchmarks, and the first.
    constexpr int photoCount = 16;
    std::fprintf(stderr, "writing %d photos of %dx%d...\n", photoCount, photoSize.width(), photoSize.height());
    photos.photos = BenchPhotos::writePhotos(photos.dir, photoCount, photoSize.width(), photoSize.height());
    fixture = &photos;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (summary.quadFrameMs > 0)
        std::printf("frame time ratio, panorama with 20 animated hotspots / bare textured quad: %.2f\n",
                    summary.panoramaFrameMs / summary.quadFrameMs);
    return 0;
}
