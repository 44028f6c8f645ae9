// Opens generated tours with 8192 x 4096 photos and, in the same run, times
// Debian's unzip extracting the same archive into a fresh folder. Reports the
// time ratio (ours / unzip) and the peak resident memory of each opening.

#include "bench/panorama/ProcessMemory.h"

#include "app/package/LumivaneImportedTour.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

struct BenchTour
{
    int stations;
    bool stored;
};

// Where this run writes its tours (hundreds of MB); removed when it ends.
QTemporaryDir *dataFolder = nullptr;

// Written once per run by the sample-tour generator in a process of its own,
// so that rendering the photos does not count in this process's memory.
QString tourPath(const BenchTour &tour)
{
    const QString path = dataFolder->filePath(
        QStringLiteral("tour-%1-%2.lumivane").arg(tour.stations).arg(tour.stored ? "stored" : "deflated"));
    if (QFile::exists(path))
        return path;
    QStringList arguments{"--stations", QString::number(tour.stations), "--photo-width", "8192",
                          "--no-media", "--output", path + ".part"};
    if (tour.stored)
        arguments << "--stored";
    std::fprintf(stderr, "Generating %s ...\n", qPrintable(path));
    if (QProcess::execute(QStringLiteral(LUMIVANE_MAKE_SAMPLE_TOUR), arguments) != 0 || !QFile::rename(path + ".part", path))
        return {};
    return path;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double timeOurOpening(const QString &archive, double *peakMiB)
{
    ProcessMemory::resetPeakResident();
    const auto start = std::chrono::steady_clock::now();
    const auto opened = LumivaneImportedTour::open(QUrl::fromLocalFile(archive));
    const double seconds = secondsSince(start);
    *peakMiB = std::max(*peakMiB, ProcessMemory::peakResidentMiB());
    if (!opened) {
        std::fprintf(stderr, "open failed: %s\n", qPrintable(opened.error().message()));
        return -1;
    }
    benchmark::DoNotOptimize(opened->photoURLs.size());
    return seconds; // the folder goes with `opened`
}

double timeUnzip(const QString &archive)
{
    const QString folder = QDir(QDir::tempPath()).filePath("lumivane-unzip-" + QUuid::createUuid().toString(QUuid::WithoutBraces));
    const auto start = std::chrono::steady_clock::now();
    const int status = QProcess::execute(QStringLiteral("unzip"), {"-q", archive, "-d", folder});
    const double seconds = secondsSince(start);
    QDir(folder).removeRecursively();
    return status == 0 ? seconds : -1;
}

void BM_OpenVersusUnzip(benchmark::State &state, BenchTour tour)
{
    const QString archive = tourPath(tour);
    if (archive.isEmpty()) {
        state.SkipWithError("the sample tour could not be generated");
        return;
    }
    double ours = 0, unzip = 0, peakMiB = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        // Alternating the order gives neither side a warmer cache.
        const double a = oursFirst ? timeOurOpening(archive, &peakMiB) : timeUnzip(archive);
        const double b = oursFirst ? timeUnzip(archive) : timeOurOpening(archive, &peakMiB);
        const double oursSeconds = oursFirst ? a : b;
        const double unzipSeconds = oursFirst ? b : a;
        if (oursSeconds < 0 || unzipSeconds < 0) {
            state.SkipWithError("opening or unzip failed");
            return;
        }
        ours += oursSeconds;
        unzip += unzipSeconds;
        state.SetIterationTime(oursSeconds);
        oursFirst = !oursFirst;
    }
    state.counters["archive_MiB"] = double(QFileInfo(archive).size()) / (1 << 20);
    state.counters["unzip_ms"] = benchmark::Counter(unzip * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = ours / unzip;
    state.counters["peak_MiB"] = peakMiB;
}

} // namespace

BENCHMARK_CAPTURE(BM_OpenVersusUnzip, stations30_stored, BenchTour{30, true})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK_CAPTURE(BM_OpenVersusUnzip, stations30_deflated, BenchTour{30, false})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK_CAPTURE(BM_OpenVersusUnzip, stations200_stored, BenchTour{200, true})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK_CAPTURE(BM_OpenVersusUnzip, stations200_deflated, BenchTour{200, false})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen"); // for the generator
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir data;
    if (!data.isValid()) {
        std::fprintf(stderr, "no temporary folder for the tours: %s\n", qPrintable(data.errorString()));
        return 1;
    }
    dataFolder = &data;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
