#include "bench/panorama/BenchPhotos.h"
#include "bench/panorama/FrameTiming.h"
#include "tests/panels/cover/TestTileServer.h"
#include "tests/support/PngBytes.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "panels/cover/ClassicCoverBackground.h"
#include "panels/cover/CoverBackground.h"
#include "panels/cover/CoverBlur.h"
#include "panels/cover/CoverMapView.h"
#include "panels/cover/LumivaneCoverView.h"
#include "panels/cover/MapPainting.h"
#include "panels/cover/MapTileSource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

// Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX" bench_panels_cover
namespace {

constexpr QSize screenSize(1920, 1080);

struct Fixture
{
    QTemporaryDir dir;
    QString panorama;
    QString classic;
    int copies = 0;
    std::unique_ptr<L10n> l10n;

    // The same bytes under a new name: nothing of it is cached anywhere yet.
    QUrl freshCopy(const QString &original)
    {
        const QString path = dir.filePath(QStringLiteral("copy-%1.jpg").arg(++copies));
        QFile::copy(original, path);
        return QUrl::fromLocalFile(path);
    }
};

Fixture *fixture = nullptr;

struct Summary
{
    double bareMs = 0;
    double coverMs = 0;
    double blurGapMs = 0;
    double blurReadyMs = 0;
} summary;

using FrameTiming::waitUntil;

void settle()
{
    waitUntil([] { return false; }, 300);
}

QByteArray logoPng()
{
    QImage image(480, 120, QImage::Format_ARGB32);
    image.fill(QColor(30, 110, 170));
    return pngBytes(image);
}

// A tour with every item of the cover present.
LumivaneProject coverProject(RenderMode mode)
{
    LumivaneProject project;
    project.id = QUuid::createUuid();
    project.name = QStringLiteral("Maison des Tilleuls");
    project.address = QStringLiteral("12 rue des Tilleuls, 69003 Lyon");
    project.renderMode = mode;
    project.area = 142.5;
    for (int i = 0; i < 8; ++i) {
        Station station;
        station.id = QUuid::createUuid();
        station.name = QStringLiteral("Pièce %1").arg(i);
        project.stations << station;
    }
    project.coverLogoData = logoPng();
    project.coverAgencyName = QStringLiteral("Horizon Clair Immobilier");
    project.coverContactEmail = QStringLiteral("contact@horizon-clair.example");
    project.coverContactWebsite = QStringLiteral("www.horizon-clair.example");
    project.coverContactPhone = QStringLiteral("+33 4 72 00 00 00");
    project.coverDescription = QStringLiteral("Belle maison des années 1930 avec jardin clos et séjour lumineux.");
    project.locationLatitude = 45.7597;
    project.locationLongitude = 4.8422;
    return project;
}

std::shared_ptr<LumivaneImageCache> freshCache()
{
    return LumivaneImageCache::create(LumivaneImageCache::Limits{2, 1ll << 30, 256ll << 20});
}

// A screen-sized cover of a tour with every item, not shown yet.
std::unique_ptr<LumivaneCoverView> screenCover(RenderMode mode, const QUrl &photo)
{
    auto cover = std::make_unique<LumivaneCoverView>(
        LumivaneCoverView::Inputs{coverProject(mode), photo, [] {}, [] {}},
        CoverServices{*fixture->l10n, freshCache(), [](const QUrl &) { return true; }});
    cover->resize(screenSize);
    return cover;
}

// Milliseconds from `clock`'s start to the first frame of `panorama` that
// shows its photo.
double firstPhotoFrameMs(Panorama360ViewerView &panorama, const QElapsedTimer &clock)
{
    double shownMs = -1;
    auto connection = QObject::connect(&panorama, &QOpenGLWidget::frameSwapped, &panorama, [&] {
        if (shownMs < 0 && !panorama.isLoadingPhoto())
            shownMs = double(clock.nsecsElapsed()) / 1e6;
    });
    if (!waitUntil([&] { return shownMs >= 0; }, 30000))
        std::fprintf(stderr, "the photo was not shown\n");
    QObject::disconnect(connection);
    return shownMs;
}

double bareFirstFrameMs(const QUrl &url)
{
    Panorama360ViewerView::Inputs inputs;
    inputs.imageURL = url;
    inputs.autoRotate = true;
    inputs.autoRotateDurationSeconds = 90;
    inputs.interactive = false;
    QElapsedTimer clock;
    clock.start();
    Panorama360ViewerView view(inputs, freshCache());
    view.resize(screenSize);
    view.show();
    return firstPhotoFrameMs(view, clock);
}

double coverFirstFrameMs(const QUrl &url)
{
    QElapsedTimer clock;
    clock.start();
    auto cover = screenCover(RenderMode::immersive, url);
    cover->show();
    return firstPhotoFrameMs(*cover->background()->panorama(), clock);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Cover against bare panorama, alternately, each with a photo nothing has
// cached, so the machine's changing load weighs on both alike; medians, as a
// busy machine now and then stalls one run by hundreds of milliseconds.
void BM_FirstFrameCoverVersusBarePanorama8K(benchmark::State &state)
{
    QList<double> bare;
    QList<double> cover;
    for (auto _ : state) {
        bare << bareFirstFrameMs(fixture->freshCopy(fixture->panorama));
        settle();
        cover << coverFirstFrameMs(fixture->freshCopy(fixture->panorama));
        settle();
    }
    summary.bareMs = median(bare);
    summary.coverMs = median(cover);
    state.counters["bare_ms"] = summary.bareMs;
    state.counters["cover_ms"] = summary.coverMs;
    state.counters["ratio"] = summary.coverMs / summary.bareMs;
}

// The classic cover asked to repaint at 60 Hz from the moment it shows until
// its blurred photo is in: the longest gap between two frames.
void BM_ClassicCoverFrameGapsWhileBlurring8K(benchmark::State &state)
{
    double worstGap = 0;
    double ready = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto cover = screenCover(RenderMode::classic, fixture->freshCopy(fixture->classic));
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, cover.get(), [&cover] { cover->update(); });
        qint64 last = -1;
        qint64 longest = 0;
        auto frames = QObject::connect(&ticker, &QTimer::timeout, cover.get(), [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0)
                longest = std::max(longest, now - last);
            last = now;
        });
        cover->show();
        ticker.start(16);
        ClassicCoverBackground *background = cover->background()->classic();
        waitUntil([&] { return !background->blurredImage().isNull(); }, 30000);
        const double readyMs = double(clock.nsecsElapsed()) / 1e6;
        waitUntil([] { return false; }, 100);
        QObject::disconnect(frames);
        worstGap = std::max(worstGap, double(longest) / 1e6);
        ready += readyMs;
        state.SetIterationTime(double(longest) / 1e9);
        settle();
    }
    summary.blurGapMs = worstGap;
    summary.blurReadyMs = ready / double(state.iterations());
    state.counters["worst_gap_ms"] = worstGap;
    state.counters["blurred_after_ms"] = summary.blurReadyMs;
}

// What the pool task does, in its two parts.
void BM_ClassicBlurTask8K(benchmark::State &state)
{
    double decodeMs = 0;
    double blurMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const QImage photo = freshCache()->lowResImage(fixture->freshCopy(fixture->classic), 2048);
        decodeMs += double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        const QImage blurred = blurredCoverImage(photo, QSizeF(screenSize), ClassicCoverBackground::blurRadius);
        blurMs += double(clock.nsecsElapsed()) / 1e6;
        benchmark::DoNotOptimize(blurred.constBits());
    }
    state.counters["decode_ms"] = decodeMs / double(state.iterations());
    state.counters["blur_ms"] = blurMs / double(state.iterations());
}

// The map card's painting on the GUI thread with its tiles in and the map
// turned, which is the most it draws: each frame a drag step redraws it all.
void BM_MapCardPaintWithTiles(benchmark::State &state)
{
    TestTileServer server;
    server.listen();
    QSettings().setValue(QLatin1String(MapTileSource::templateSettingsKey), server.urlTemplate());
    const CoverLocation location{45.7597, 4.8422, 360.0 / (1 << 18), QStringLiteral("12 rue des Tilleuls")};
    CoverMapView card(location, MapTileSource::configuredTemplate(), *fixture->l10n);
    card.resize(CoverMapView::maxCardWidth, CoverMapView::cardHeight);
    card.show();
    QTest::mousePress(&card, Qt::LeftButton, Qt::ControlModifier, QPoint(310, 90));
    QTest::mouseMove(&card, QPoint(300, 150));
    QTest::mouseRelease(&card, Qt::LeftButton, Qt::ControlModifier, QPoint(300, 150));
    const qsizetype wanted = visibleTiles(card.camera(), QSizeF(card.size())).size();
    waitUntil([&] { return server.paths.size() >= wanted && server.openRequests == 0; }, 10000);
    settle();
    QImage target(card.size() * card.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    QTest::mousePress(&card, Qt::LeftButton, {}, QPoint(100, 100));
    int step = 0;
    for (auto _ : state) {
        QTest::mouseMove(&card, QPoint(100 + (++step % 2), 100));
        card.render(&target);
    }
    QTest::mouseRelease(&card, Qt::LeftButton, {}, QPoint(100, 100));
    state.counters["tiles"] = double(wanted);
}

// One whole repaint of the classic cover with its blurred photo in, as
// scrolling the page asks for.
void BM_ClassicCoverRepaint(benchmark::State &state)
{
    auto cover = screenCover(RenderMode::classic, fixture->freshCopy(fixture->classic));
    cover->show();
    ClassicCoverBackground *background = cover->background()->classic();
    waitUntil([&] { return !background->blurredImage().isNull(); }, 30000);
    QImage target(screenSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        cover->render(&target);
}

} // namespace

BENCHMARK(BM_FirstFrameCoverVersusBarePanorama8K)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_ClassicCoverFrameGapsWhileBlurring8K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_ClassicCoverRepaint)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ClassicBlurTask8K)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MapCardPaintWithTiles)->Unit(benchmark::kMillisecond)->MinTime(0.5);

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    Fixture photos;
    // The tile template the map benchmark sets stays out of the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, photos.dir.path());
    photos.l10n = std::make_unique<L10n>(QStringList{});
    std::fprintf(stderr, "writing an 8192x4096 panorama and an 8192x5464 photo...\n");
    photos.panorama = BenchPhotos::writePhoto(photos.dir, QStringLiteral("panorama.jpg"), 8192, 4096, 7);
    photos.classic = BenchPhotos::writePhoto(photos.dir, QStringLiteral("classic.jpg"), 8192, 5464, 11);
    fixture = &photos;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (summary.bareMs > 0)
        std::printf("first frame with the photo, cover / bare panorama: %.0f / %.0f ms = %.2f\n", summary.coverMs,
                    summary.bareMs, summary.coverMs / summary.bareMs);
    if (summary.blurReadyMs > 0)
        std::printf("classic cover 8K: blurred photo after %.0f ms, longest frame gap meanwhile %.1f ms\n",
                    summary.blurReadyMs, summary.blurGapMs);
    return 0;
}
