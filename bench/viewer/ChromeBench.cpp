#include "BenchPhotos.h"
#include "FrameTiming.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "viewer/chrome/ControlBar.h"
#include "viewer/chrome/HeaderBar.h"
#include "viewer/chrome/HotspotInfoCard.h"
#include "viewer/chrome/WatermarkView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

// Frame time of the station view with its chrome (header, control bar,
// watermark and an info card) over the panorama, against the bare panorama,
// both 1920x1080. Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX" bench_viewer_chrome
namespace {

constexpr QSize screenSize(1920, 1080);

struct Fixture
{
    QTemporaryDir dir;
    QString photo;
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));
    L10n language{QStringList{QStringLiteral("en-US")}};
};

Fixture *fixture = nullptr;

struct Summary
{
    double bareMs = 0;
    double parentedMs = 0;
    double chromeMs = 0;
} summary;

std::unique_ptr<Panorama360ViewerView> panorama(QWidget *parent)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = QUrl::fromLocalFile(fixture->photo);
    auto view = std::make_unique<Panorama360ViewerView>(inputs, fixture->cache);
    view->setParent(parent);
    return view;
}

HotspotInfoCard::Inputs cardInputs()
{
    Hotspot hotspot;
    hotspot.id = QUuid::createUuid();
    hotspot.kind = HotspotKind::info;
    hotspot.infoTitle = QStringLiteral("Kitchen");
    hotspot.infoDescription = QStringLiteral("A fitted kitchen, renovated in 2021, with a central island and made to "
                                             "measure cupboards. The appliances are new.");
    hotspot.attachments << HotspotAttachment{QUuid::createUuid(), AttachmentKind::pdf, "Plan", "plan.pdf"}
                        << HotspotAttachment{QUuid::createUuid(), AttachmentKind::sound, "Ambience", "a.wav"}
                        << HotspotAttachment{QUuid::createUuid(), AttachmentKind::text, "Note", "Quartz worktop."};
    return {hotspot, {std::nullopt, std::nullopt, std::nullopt}, paletteGold()};
}

/// The station view as the viewer composes it: the panorama under
/// full-size chrome layers, all children of one widget.
struct StationView
{
    QWidget window;
    std::unique_ptr<Panorama360ViewerView> view;

    explicit StationView(bool withChrome)
    {
        window.resize(screenSize);
        view = panorama(&window);
        view->setGeometry(window.rect());
        if (!withChrome)
            return;
        auto *watermark = new WatermarkView(&window);
        watermark->setWatermark(QStringLiteral("© Agency 2024"), 0.28);
        auto *header = new HeaderBar(fixture->language, &window);
        header->setInputs({true, false, QStringLiteral("Living room")});
        header->setBranding({true, QImage(), QStringLiteral("Agency")});
        auto *bar = new ControlBar(fixture->language, &window);
        ControlBarInputs barInputs;
        barInputs.stationCount = 6;
        barInputs.kioskEnabled = barInputs.hasFeedbackRecipient = true;
        bar->setInputs(barInputs);
        auto *card = new HotspotInfoCard(fixture->language, &window);
        card->setInputs(cardInputs());
        for (QWidget *layer : std::initializer_list<QWidget *>{watermark, header, bar, card})
            layer->setGeometry(window.rect());
    }
};

bool fullyShown(Panorama360ViewerView &view)
{
    const SceneNode *sphere = view.coordinator().sphereNode;
    return !view.isLoadingPhoto() && sphere->opacity() >= 1.0 && !sphere->hasAction(QStringLiteral("fade"));
}

void showAndSettle(QWidget &window, Panorama360ViewerView &view)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !FrameTiming::waitUntil([&view] { return fullyShown(view); }, 20000))
        std::fprintf(stderr, "the panorama did not show its photo\n");
}

// Milliseconds for `frames` painted frames of one window, the others hidden,
// so that the machine's changing load weighs on each alike.
double blockOfFrames(QWidget &shown, Panorama360ViewerView &view, std::initializer_list<QWidget *> hidden, int frames)
{
    for (QWidget *other : hidden)
        other->hide();
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown))
        std::fprintf(stderr, "a window was not shown\n");
    return FrameTiming::timeFrames(view, frames);
}

void BM_FrameTimeChromeVersusBarePanorama(benchmark::State &state)
{
    std::unique_ptr<Panorama360ViewerView> bare = panorama(nullptr);
    bare->resize(screenSize);
    StationView parented(false);
    StationView chrome(true);
    showAndSettle(*bare, *bare);
    showAndSettle(parented.window, *parented.view);
    showAndSettle(chrome.window, *chrome.view);

    constexpr int framesPerBlock = 60;
    double bareMs = 0;
    double parentedMs = 0;
    double chromeMs = 0;
    for (auto _ : state) {
        bareMs += blockOfFrames(*bare, *bare, {&parented.window, &chrome.window}, framesPerBlock);
        parentedMs += blockOfFrames(parented.window, *parented.view, {bare.get(), &chrome.window}, framesPerBlock);
        chromeMs += blockOfFrames(chrome.window, *chrome.view, {bare.get(), &parented.window}, framesPerBlock);
    }
    const double frames = double(state.iterations()) * framesPerBlock;
    summary = {bareMs / frames, parentedMs / frames, chromeMs / frames};
    state.counters["bare_ms"] = summary.bareMs;
    state.counters["parented_ms"] = summary.parentedMs;
    state.counters["chrome_ms"] = summary.chromeMs;
    state.counters["ratio"] = summary.chromeMs / summary.bareMs;
}

} // namespace

BENCHMARK(BM_FrameTimeChromeVersusBarePanorama)->Unit(benchmark::kMillisecond)->Iterations(6);

int main(int argc, char **argv)
{
    // As the application does: every view shares one GL context group.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture photos;
    photos.photo = BenchPhotos::writePhoto(photos.dir, QStringLiteral("station.jpg"), 8192, 4096, 1);
    fixture = &photos;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (summary.bareMs > 0) {
        std::printf("frame time, bare panorama %.2f ms, in a parent widget %.2f ms, with the chrome %.2f ms\n",
                    summary.bareMs, summary.parentedMs, summary.chromeMs);
        std::printf("frame time ratio, station view with chrome / bare panorama: %.2f\n", summary.chromeMs / summary.bareMs);
    }
    return 0;
}
