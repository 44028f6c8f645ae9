// Decoding of equirectangular photos by the image cache's decoders, side by
// side with libjpeg-turbo's djpeg on the same file at the same scale, and the
// resident memory that preloading 100 stations of 8K photos leaves.

#include "EquirectangularFixtures.h"

#include "media/images/LumivaneImageCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThreadPool>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr int kThumbnail = LumivaneImageCache::prefetchThumbnailSize;

void runDjpeg(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const auto &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, argv.data(), environ) != 0)
        return;
    int status = 0;
    waitpid(pid, &status, 0);
}

// The cache's decoder and djpeg take turns on the same file, so that both
// see the same load on the machine; the counters give their mean times.
void sideBySide(benchmark::State &state, const std::function<QImage()> &cacheDecode,
                const std::vector<std::string> &djpegArguments)
{
    using Clock = std::chrono::steady_clock;
    double cacheSeconds = 0;
    double djpegSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        QImage decoded = cacheDecode();
        const auto middle = Clock::now();
        // Releasing the image is no part of decoding it: the store keeps it.
        decoded = QImage();
        const auto djpegStart = Clock::now();
        runDjpeg(djpegArguments);
        const auto end = Clock::now();
        cacheSeconds += std::chrono::duration<double>(middle - start).count();
        djpegSeconds += std::chrono::duration<double>(end - djpegStart).count();
    }
    const double runs = double(state.iterations());
    state.counters["cache_ms"] = cacheSeconds / runs * 1000;
    state.counters["djpeg_ms"] = djpegSeconds / runs * 1000;
    state.counters["cache_over_djpeg"] = cacheSeconds / djpegSeconds;
}

void BM_Thumbnail2048(benchmark::State &state)
{
    const int width = int(state.range(0));
    const QString path = equirectangularJpeg(width);
    const std::string scale = "1/" + std::to_string(width / kThumbnail);
    sideBySide(
        state, [&] { return LumivaneImageCache::decodeThumbnail(path, kThumbnail); },
        {"djpeg", "-scale", scale, "-outfile", "/dev/null", path.toStdString()});
}

void BM_FullSize(benchmark::State &state)
{
    const QString path = equirectangularJpeg(int(state.range(0)));
    sideBySide(
        state, [&] { return LumivaneImageCache::decodeFile(path, QSize()); },
        {"djpeg", "-outfile", "/dev/null", path.toStdString()});
}

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// One 8K photo under 100 names: each name is its own station to the cache.
QList<QUrl> hundredStations()
{
    const QString photo = equirectangularJpeg(8192);
    const QDir dir = QDir::temp().filePath(QStringLiteral("lumivane-bench-images/stations"));
    QDir().mkpath(dir.path());
    QList<QUrl> urls;
    for (int i = 0; i < 100; ++i) {
        const QString link = dir.filePath(QStringLiteral("station-%1.jpg").arg(i));
        if (!QFile::exists(link))
            QFile::link(photo, link);
        urls.append(QUrl::fromLocalFile(link));
    }
    return urls;
}

void BM_Preload100Stations8K(benchmark::State &state)
{
    const QList<QUrl> urls = hundredStations();
    const auto limits = LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory());
    const double before = residentMegabytes();
    double after = 0;
    std::shared_ptr<LumivaneImageCache> cache;
    for (auto _ : state) {
        cache = LumivaneImageCache::create(limits);
        for (const QUrl &url : urls)
            cache->prefetch(url);
        LumivaneImageCache::pool()->waitForDone();
        after = residentMegabytes();
    }
    constexpr double MB = 1024.0 * 1024.0;
    state.counters["rss_before_MB"] = before;
    state.counters["rss_after_MB"] = after;
    state.counters["full_count"] = cache->usage().fullCount;
    state.counters["full_MB"] = double(cache->usage().fullBytes) / MB;
    state.counters["full_budget_MB"] = double(limits.fullByteBudget) / MB;
    state.counters["full_count_limit"] = limits.fullCountLimit;
    state.counters["thumb_count"] = cache->usage().thumbnailCount;
    state.counters["thumb_MB"] = double(cache->usage().thumbnailBytes) / MB;
    state.counters["thumb_budget_MB"] = double(limits.thumbnailByteBudget) / MB;
}

} // namespace

BENCHMARK(BM_Thumbnail2048)->Arg(4096)->Arg(8192)->Arg(16384)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FullSize)->Arg(4096)->Arg(8192)->Arg(16384)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Preload100Stations8K)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Written before timing starts; later runs reuse them.
    for (const int width : {4096, 8192, 16384})
        equirectangularJpeg(width);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
