#include "BareQuadWidget.h"
#include "BenchPhotos.h"
#include "FrameTiming.h"

#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "media/panorama/PanoramaJpegDecoder.h"
#include "media/panorama/PanoramaSpareImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numbers>

// Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench_panorama
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

    QUrl takeUncached() { return QUrl::fromLocalFile(photos.at(nextUncached++)); }
};

Fixture *fixture = nullptr;

struct Summary
{
    double panoramaFrameMs = 0;
    double quadFrameMs = 0;
} summary;

QList<Hotspot> twentyHotspots()
{
    QList<Hotspot> hotspots;
    for (int i = 0; i < 20; ++i) {
        Hotspot hotspot;
        hotspot.id = QUuid::createUuid();
        hotspot.kind = i % 4 == 0 ? HotspotKind::info : HotspotKind::navigation;
        // Spread over the visible part of the view so that all of them draw.
        hotspot.yaw = std::numbers::pi + (i % 5 - 2) * 0.3;
        hotspot.pitch = (i / 5 - 1.5) * 0.25;
        hotspot.targetStationID = QUuid::createUuid();
        hotspots << hotspot;
    }
    return hotspots;
}

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

Panorama360ViewerView::Inputs viewInputs(const QUrl &url)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = url;
    inputs.hotspots = twentyHotspots();
    for (const Hotspot &hotspot : inputs.hotspots)
        inputs.stationNames.insert(hotspot.targetStationID, QStringLiteral("Station %1").arg(hotspot.yaw, 0, 'f', 1));
    return inputs;
}

bool fullyShown(Panorama360ViewerView &view)
{
    const SceneNode *sphere = view.coordinator().sphereNode;
    return !view.isLoadingPhoto() && sphere->opacity() >= 1.0 && !sphere->hasAction(QStringLiteral("fade"));
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

// Longest gap between two painted frames from the moment a new photo is
// asked for until it is fully shown. Auto-rotation and the animated markers
// keep the view painting all the time, as during a kiosk tour.
double longestFrameGapMs(Panorama360ViewerView &view, const QUrl &url, double *shownAfterMs = nullptr,
                         double *readyAfterMs = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    qint64 ready = 0;
    auto connection = QObject::connect(&view, &QOpenGLWidget::frameSwapped, &view, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (!ready && !view.isLoadingPhoto())
            ready = now;
        if (qEnvironmentVariableIsSet("BENCH_GAPS"))
            std::fprintf(stderr, "%.0f ", double(now - last) / 1e6);
        longest = std::max(longest, now - last);
        last = now;
    });
    Panorama360ViewerView::Inputs inputs = view.inputs();
    inputs.imageURL = url;
    view.setInputs(inputs);
    if (!FrameTiming::waitUntil([&view] { return fullyShown(view); }, 20000))
        std::fprintf(stderr, "the new photo was not shown\n");
    if (shownAfterMs)
        *shownAfterMs = double(clock.nsecsElapsed()) / 1e6;
    if (readyAfterMs)
        *readyAfterMs = double(ready) / 1e6;
    FrameTiming::waitUntil([] { return false; }, 50);
    QObject::disconnect(connection);
    return double(longest) / 1e6;
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
        state.SetIterationTime(longestFrameGapMs(*view, fixture->takeUncached()) / 1000.0);
    }
}

void BM_FrameGapCachedStationChange8K(benchmark::State &state)
{
    auto view = rotatingView();
    for (auto _ : state) {
        // Decoded into the image cache beforehand, as the viewer's preloading does.
        const QUrl url = fixture->takeUncached();
        fixture->cache->image(url);
        state.SetIterationTime(longestFrameGapMs(*view, url) / 1000.0);
    }
}

void BM_FrameGapCachedResidentStationChange8K(benchmark::State &state)
{
    auto view = rotatingView();
    const QUrl first = view->inputs().imageURL;
    const QUrl second = fixture->takeUncached();
    longestFrameGapMs(*view, second);
    for (auto _ : state) {
        // Back and forth between two photos that stay on the GPU.
        const QUrl target = view->inputs().imageURL == first ? second : first;
        state.SetIterationTime(longestFrameGapMs(*view, target) / 1000.0);
    }
}

double djpegMs(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
    return double(timer.nsecsElapsed()) / 1e6;
}

void BM_TimeToFullyShownUncached8K(benchmark::State &state)
{
    auto view = rotatingView();
    double djpegTotal = 0;
    double shownTotal = 0;
    double readyTotal = 0;
    for (auto _ : state) {
        fixture->cache->emptyFullImageStore();
        const QUrl url = fixture->takeUncached();
        double shownMs = 0;
        double readyMs = 0;
        longestFrameGapMs(*view, url, &shownMs, &readyMs);
        shownTotal += shownMs;
        readyTotal += readyMs;
        djpegTotal += djpegMs(url.toLocalFile());
        state.SetIterationTime(shownMs / 1000.0);
    }
    const double n = double(state.iterations());
    constexpr double fadeInMs = 450.0;
    state.counters["djpeg_ms"] = djpegTotal / n;
    // First frame painted with the new photo on the sphere (its fade-in starts).
    state.counters["first_frame_ms"] = readyTotal / n;
    state.counters["shown_minus_fade_ms"] = shownTotal / n - fadeInMs;
    state.counters["ratio_to_djpeg"] = (shownTotal / n - fadeInMs) / (djpegTotal / n);
}

void BM_BandDecode8K(benchmark::State &state)
{
    const QString path = fixture->photos.first();
    // As the texture store decodes: into a buffer mapped ahead of time.
    const auto spare = std::make_shared<PanoramaSpareImage>();
    for (auto _ : state) {
        const QImage image =
            PanoramaJpegDecoder::decode(path, 16384, 256, [](QSize) {}, [](const QImage &, int, int) {}, spare.get());
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
BENCHMARK(BM_FrameGapCachedStationChange8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FrameGapCachedResidentStationChange8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
BENCHMARK(BM_TimeToFullyShownUncached8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char **argv)
{
    // As the application does: every view shares one GL context group.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture photos;
    std::fprintf(stderr, "writing %d photos of %dx%d...\n", 12, photoSize.width(), photoSize.height());
    photos.photos = BenchPhotos::writePhotos(photos.dir, 12, photoSize.width(), photoSize.height());
    fixture = &photos;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (summary.quadFrameMs > 0)
        std::printf("frame time ratio, panorama with 20 animated hotspots / bare textured quad: %.2f\n",
                    summary.panoramaFrameMs / summary.quadFrameMs);
    return 0;
}
