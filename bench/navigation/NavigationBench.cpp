// The navigation views with a 500-station tour whose photos are 8K JPEGs:
// the table of contents from its creation to its first frame and while its
// thumbnails arrive, one keystroke of its search, and the thumbnail strip
// scrolled from end to end. Offscreen, on the raster paint engine the X
// display uses too.

#include "EquirectangularFixtures.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "model/LumivaneProject.h"
#include "navigation/StationThumbBar.h"
#include "navigation/TableOfContentsSheet.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kStations = 500;
constexpr QSize kWindow{1440, 900};

struct Tour
{
    QTemporaryDir dir;
    LumivaneProject project;
    QHash<QUuid, QUrl> photos;
    L10n l10n{{QStringLiteral("en")}};
};
Tour *tour = nullptr;

// 500 stations on five levels; each photo is its own path (a link to one 8K
// file), so that every thumbnail is a decode of its own.
void buildTour(Tour &t)
{
    const QString photo = equirectangularJpeg(8192);
    for (int n = 1; n <= kStations; ++n) {
        Station station;
        station.id = QUuid::createUuid();
        station.name = QStringLiteral("Salle %1").arg(n);
        station.orderIndex = n;
        station.level = QStringLiteral("Étage %1").arg((n - 1) / 100);
        const QString path = QDir(t.dir.path()).filePath(QStringLiteral("%1.jpg").arg(n));
        QFile::link(photo, path);
        t.photos.insert(station.id, QUrl::fromLocalFile(path));
        t.project.stations.append(station);
    }
}

// The 95th percentile and the worst of per-frame times, in milliseconds.
void reportFrames(benchmark::State &state, std::vector<double> frames, const char *name)
{
    if (frames.empty())
        return;
    std::sort(frames.begin(), frames.end());
    state.counters[std::string(name) + "_p95_ms"] = frames[frames.size() * 95 / 100];
    state.counters[std::string(name) + "_worst_ms"] = frames.back();
}

StationPhotoResolver resolver()
{
    return [photos = tour->photos](const QUuid &id) -> std::optional<QUrl> { return photos.value(id); };
}

std::shared_ptr<LumivaneImageCache> freshCache()
{
    return LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));
}

// The longest time the GUI thread went without turning its event loop, while
// `until` is false, checked every millisecond.
double longestGapMs(const std::function<bool()> &until, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    while (!until() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    }
    return double(longest) / 1e6;
}

void BM_TableOfContentsFirstFrame(benchmark::State &state)
{
    double fillMs = 0;
    double gapMs = 0;
    int thumbnails = 0;
    for (auto _ : state) {
        auto cache = freshCache();
        QWidget window;
        window.resize(kWindow);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            state.SkipWithError("no window");
        QElapsedTimer clock;
        clock.start();
        auto *sheet = new TableOfContentsSheet(tour->project, resolver(), tour->project.stations[3].id,
                                               QColor(0xC9, 0xA9, 0x61), tour->l10n, cache, &window);
        sheet->setGeometry(window.rect());
        sheet->show();
        sheet->repaint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // Thumbnails of the cards in view and a screenful below arrive: the
        // loader keeps the pool busy until the last of them.
        const auto arrived = [&] {
            return cache->usage().thumbnailCount > 0 && LumivaneImageCache::pool()->activeThreadCount() == 0;
        };
        gapMs = std::max(gapMs, longestGapMs(arrived, 20000));
        fillMs += double(clock.nsecsElapsed()) / 1e6;
        thumbnails = cache->usage().thumbnailCount;
        QThreadPool::globalInstance()->waitForDone();
        LumivaneImageCache::pool()->waitForDone();
    }
    state.counters["thumbnails_filled_ms"] = fillMs / double(state.iterations());
    state.counters["thumbnails"] = thumbnails;
    state.counters["longest_frame_gap_ms"] = gapMs;
}

void BM_TableOfContentsKeystroke(benchmark::State &state)
{
    auto cache = freshCache();
    QWidget window;
    window.resize(kWindow);
    auto *sheet = new TableOfContentsSheet(tour->project, resolver(), std::nullopt, QColor(0xC9, 0xA9, 0x61),
                                           tour->l10n, cache, &window);
    sheet->setGeometry(window.rect());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("no window");
    QLineEdit *field = sheet->findChild<QLineEdit *>();
    const QString query = QStringLiteral("salle 4");
    qsizetype typed = 0;
    std::vector<double> frames;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        // Type the query, then take it back, one key each time.
        if (typed < query.size()) {
            QTest::keyClick(field, query[typed++].toLatin1());
        } else {
            QTest::keyClick(field, Qt::Key_Backspace);
            if (field->text().isEmpty())
                typed = 0;
        }
        sheet->repaint();
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        frames.push_back(seconds * 1000);
        state.SetIterationTime(seconds);
        QCoreApplication::processEvents();
    }
    reportFrames(state, std::move(frames), "keystroke");
    LumivaneImageCache::pool()->waitForDone();
}

void BM_ThumbStripScrollFrame(benchmark::State &state)
{
    auto cache = freshCache();
    QWidget window;
    window.resize(kWindow);
    QHash<QUuid, QString> numbers;
    for (qsizetype i = 0; i < tour->project.stations.size(); ++i)
        numbers.insert(tour->project.stations[i].id, QString::number(i + 1));
    auto *strip = new StationThumbBar(tour->project.stations, tour->project.stations[0].id, resolver(), numbers,
                                      QColor(0xC9, 0xA9, 0x61), tour->l10n, cache, &window);
    const int height = strip->sizeHint().height();
    strip->setGeometry(0, kWindow.height() - height, kWindow.width(), height);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("no window");
    double direction = -24; // pixels per frame, as a trackpad scrolls
    std::vector<double> frames;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const QPointF at(100, height / 2.0);
        QWheelEvent wheel(at, strip->mapToGlobal(at), QPoint(int(direction), 0), QPoint(int(direction) * 5, 0),
                          Qt::NoButton, Qt::NoModifier, Qt::ScrollUpdate, false);
        QApplication::sendEvent(strip, &wheel);
        strip->repaint();
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        frames.push_back(seconds * 1000);
        state.SetIterationTime(seconds);
        QCoreApplication::processEvents();
        if (strip->scrollOffset() >= strip->contentWidth() - strip->width())
            direction = 24;
        else if (strip->scrollOffset() <= 0)
            direction = -24;
    }
    LumivaneImageCache::pool()->waitForDone();
    QCoreApplication::processEvents();
    const LumivaneImageCache::Usage usage = cache->usage();
    reportFrames(state, std::move(frames), "frame");
    state.counters["thumbnail_MB"] = double(usage.thumbnailBytes) / (1 << 20);
    state.counters["thumbnail_budget_MB"] = double(cache->limits().thumbnailByteBudget) / (1 << 20);
    state.counters["full_images"] = usage.fullCount;
}

} // namespace

BENCHMARK(BM_TableOfContentsFirstFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_TableOfContentsKeystroke)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_ThumbStripScrollFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1000);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Tour fixture;
    buildTour(fixture);
    tour = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
