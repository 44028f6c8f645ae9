// Frame time of the viewer sheet itself, with its chrome shown (header,
// control bar, watermark and an info card) over the panorama, against the
// bare panorama view, both 1920x1080 with the same 8K photo, in one run.
// Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX" bench_viewer_chrome

#include "bench/panorama/BenchPhotos.h"
#include "bench/panorama/FrameTiming.h"
#include "TestTours.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/MediaBackend.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/ViewerLayerStack.h"
#include "viewer/state/ViewerController.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "viewer/station/StationStackView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr QSize screenSize(1920, 1080);

struct Fixture
{
    QTemporaryDir dir;
    QUrl photo;
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));
    L10n language{QStringList{QStringLiteral("en-US")}};
    LumivaneAudioService narration;
};

Fixture *fixture = nullptr;

struct Summary
{
    double bareMs = 0;
    double sheetMs = 0;
} summary;

Hotspot kitchenCard()
{
    Hotspot hotspot = TestTours::infoHotspot(
        QStringLiteral("Kitchen"), QStringLiteral("A fitted kitchen, renovated in 2021, with a central island and made "
                                                  "to measure cupboards. The appliances are new."));
    hotspot.attachments << HotspotAttachment{QUuid::createUuid(), AttachmentKind::pdf, "Plan", "plan.pdf"}
                        << HotspotAttachment{QUuid::createUuid(), AttachmentKind::sound, "Ambience", "a.wav"}
                        << HotspotAttachment{QUuid::createUuid(), AttachmentKind::text, "Note", "Quartz worktop."};
    return hotspot;
}

/// The viewer as a visitor has it: a six-station tour with a watermark,
/// its header and control bar, and an information card open.
std::unique_ptr<LumivaneViewerSheet> openSheet()
{
    ViewerServices services;
    services.l10n = &fixture->language;
    services.narration = &fixture->narration;
    services.imageCache = fixture->cache;
    ViewerTour tour;
    tour.project = TestTours::tour(6, 1);
    tour.project.watermarkText = QStringLiteral("© Agency 2024");
    tour.project.stations[0].hotspots << kitchenCard();
    tour.projectID = tour.project.id;
    tour.photoURLResolver = [](const QUuid &) -> std::optional<QUrl> { return fixture->photo; };
    auto sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
    sheet->setGeometry(QRect(QPoint(0, 0), screenSize));
    return sheet;
}

Panorama360ViewerView &panoramaOf(LumivaneViewerSheet &sheet)
{
    return *sheet.stationView()->panoramaLayer()->panorama();
}

bool fullyShown(Panorama360ViewerView &view)
{
    const SceneNode *sphere = &view.sphere();
    return !view.isLoadingPhoto() && sphere->opacity() >= 1.0 && !sphere->hasAction(QStringLiteral("fade"));
}

void settle(QWidget &window, const std::function<bool()> &ready)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !FrameTiming::waitUntil(ready, 30000))
        std::fprintf(stderr, "the panorama did not show its photo\n");
}

void startWithCard(LumivaneViewerSheet &sheet)
{
    ViewerController &controller = sheet.controller();
    controller.startTour();
    controller.hideSplash();
    settle(sheet, [&] { return sheet.stationView()->panoramaLayer()->panorama() && fullyShown(panoramaOf(sheet)); });
    controller.showInfoCard(controller.currentStation()->hotspots.back());
    // Every layer's entrance is over before the frames are counted.
    FrameTiming::waitUntil([] { return false; }, 1000);
    for (ViewerLayer layer : {ViewerLayer::watermark, ViewerLayer::headerAndControlBar, ViewerLayer::infoCard}) {
        if (sheet.stationView()->viewsOf(layer).isEmpty())
            std::fprintf(stderr, "a part of the chrome is not shown\n");
    }
}

// Milliseconds for `frames` painted frames of one window, the other hidden,
// so that the machine's changing load weighs on each alike.
double blockOfFrames(QWidget &shown, Panorama360ViewerView &view, QWidget &hidden, int frames)
{
    hidden.hide();
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown))
        std::fprintf(stderr, "a window was not shown\n");
    return FrameTiming::timeFrames(view, frames);
}

void BM_FrameTimeSheetWithChromeVersusBarePanorama(benchmark::State &state)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = fixture->photo;
    Panorama360ViewerView bare(inputs, fixture->cache);
    bare.resize(screenSize);
    settle(bare, [&] { return fullyShown(bare); });
    std::unique_ptr<LumivaneViewerSheet> sheet = openSheet();
    startWithCard(*sheet);

    constexpr int framesPerBlock = 60;
    double bareMs = 0;
    double sheetMs = 0;
    for (auto _ : state) {
        bareMs += blockOfFrames(bare, bare, *sheet, framesPerBlock);
        sheetMs += blockOfFrames(*sheet, panoramaOf(*sheet), bare, framesPerBlock);
    }
    const double frames = double(state.iterations()) * framesPerBlock;
    summary = {bareMs / frames, sheetMs / frames};
    state.counters["bare_ms"] = summary.bareMs;
    state.counters["sheet_ms"] = summary.sheetMs;
    state.counters["ratio"] = summary.sheetMs / summary.bareMs;
}

} // namespace

BENCHMARK(BM_FrameTimeSheetWithChromeVersusBarePanorama)->Unit(benchmark::kMillisecond)->Iterations(6);

int main(int argc, char **argv)
{
    pinMediaBackend();
    // As the application does: every view shares one GL context group.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture f;
    f.photo = QUrl::fromLocalFile(BenchPhotos::writePhoto(f.dir, QStringLiteral("station.jpg"), 8192, 4096, 1));
    fixture = &f;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (summary.bareMs > 0) {
        std::printf("frame time, bare panorama %.2f ms, viewer sheet with its chrome %.2f ms\n", summary.bareMs,
                    summary.sheetMs);
        std::printf("frame time ratio, viewer sheet with chrome / bare panorama: %.2f\n",
                    summary.sheetMs / summary.bareMs);
    }
    return 0;
}
