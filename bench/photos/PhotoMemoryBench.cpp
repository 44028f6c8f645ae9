// Peak memory (the high-water mark of the resident set, VmHWM) of the real
// window opening a tour and starting the visit, with a start photo of huge
// pixel dimensions (an enlargement that keeps the package small) against the
// same tour with an ordinary 8K start photo, for a panorama and a classic
// tour; and the same for pictures a hostile package may carry, in every
// format whose reader cannot reduce them (a header claiming far more than
// the file holds, after a stray byte; thousands of scans; logos and floor
// plans claiming tens of thousands of pixels a side in JPEG, 16-bit PNG, BMP
// and GIF; lossless WebP photos of 16383 x 16383). Each opening runs in a
// process of its own, so that its high-water mark counts that opening alone;
// each row's ratio to its ordinary tour is printed at the end beside the
// figure it should meet on software GL. Beside the peak: how long opening
// the package and pressing the cover's start button held the window, and the
// longest the window did not answer from the opening to the photo shown.
//
// Run under the virtual display:
//   Xvfb :N -screen 0 1920x1080x24 +extension GLX &
//   DISPLAY=:N LIBGL_ALWAYS_SOFTWARE=1 bench_photo_memory

#include "bench/panorama/ProcessMemory.h"
#include "tests/support/HostilePhotos.h"

#include "app/ContentView.h"
#include "app/Lumivane_ViewerApp.h"
#include "l10n/L10n.h"
#include "media/images/LumivaneClassicViewer.h"
#include "media/images/LumivaneImageCache.h"
#include "media/panorama/Panorama360ViewerView.h"
#include "media/sound/MediaBackend.h"
#include "tools/make-sample-tour/SampleTourWriter.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/station/ClassicMediaLayer.h"
#include "viewer/station/PanoramaMediaLayer.h"
#include "viewer/station/StationStackView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

constexpr const char *childOption = "--open-and-measure";
constexpr QSize screenSize(1920, 1080);
constexpr int ordinaryWidth = 8192;
constexpr int hugeWidth = 60000;
constexpr int waitMs = 60000;

struct Case
{
    const char *name;
    SampleTourVariant variant;
    int startPhotoWidth;
    void (*hostile)(SampleTourOptions &);
    /// The most its peak may be, as a share of its ordinary tour's (none for those).
    double target = 0;
};

void strayByteBeforeAnAbsurdHeader(SampleTourOptions &options)
{
    // 1.5 GiB of coefficients at any scale: refused unread, stray byte or not.
    options.startPhotoBytes = HostilePhotos::withStrayBytes(
        HostilePhotos::withFullChroma(HostilePhotos::jpegClaiming({16384, 16384}, true)), 1);
}

void thousandsOfScans(SampleTourOptions &options)
{
    options.startPhotoBytes = HostilePhotos::jpegWithScans(3000, {4096, 2048});
}

void logoAndPlans(SampleTourOptions &options, const QByteArray &bytes)
{
    options.logoBytes = bytes;
    options.floorPlanBytes = bytes;
}

void hugeLogoAndPlans(SampleTourOptions &options)
{
    logoAndPlans(options, HostilePhotos::jpegClaiming({65500, 65500}, false));
}

// 150 megapixels, as many as a logo may claim, of 99 scans: decoded once for
// the cover's logo, the header's and the plans.
void progressiveLogoAndPlans(SampleTourOptions &options)
{
    logoAndPlans(options, HostilePhotos::withClaimedSize(HostilePhotos::jpegWithScans(99, {64, 32}), {12247, 12247}));
}

// Written whole, about 1 MB: a file cut short would stop Qt's reader at
// once, where this one is decoded at 8 bytes a pixel.
void sixteenBitPngLogoAndPlans(SampleTourOptions &options)
{
    QImage plan(11000, 11000, QImage::Format_RGBA64);
    plan.fill(QColor(90, 140, 200));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(plan);
    logoAndPlans(options, buffer.data());
}

void bmpLogo(SampleTourOptions &options)
{
    options.logoBytes = HostilePhotos::bmpClaiming({12000, 12000});
}

void gifLogo(SampleTourOptions &options)
{
    options.logoBytes = HostilePhotos::gifClaiming({12000, 12000});
}

void webpPhotos(SampleTourOptions &options)
{
    options.startPhotoBytes = HostilePhotos::webpClaiming({16383, 16383});
    options.photoBytes = options.startPhotoBytes;
}

// The targets on software GL (Mesa's llvmpipe, which keeps its textures in
// the process's memory): a huge panorama holds its 15000 x 7500 texture and
// the image cache's decoded copy, 1.55 times the 8K tour's (see the README);
// a classic photo is decoded no larger than the screen shows it; a hostile
// picture is refused or decoded small, except the 150-megapixel logo, whose
// one decode holds some 330 MiB of coefficients for a while (three, one for
// each view, came to twice the 8K tour's).
constexpr Case cases[] = {
    {"panorama/8K", SampleTourVariant::Demo, ordinaryWidth, nullptr},
    {"panorama/huge", SampleTourVariant::Demo, hugeWidth, nullptr, 1.60},
    {"classic/8K", SampleTourVariant::Classic, ordinaryWidth, nullptr},
    {"classic/huge", SampleTourVariant::Classic, hugeWidth, nullptr, 1.10},
    {"panorama/stray-byte", SampleTourVariant::Demo, ordinaryWidth, strayByteBeforeAnAbsurdHeader, 1.10},
    {"panorama/many-scans", SampleTourVariant::Demo, ordinaryWidth, thousandsOfScans, 1.10},
    {"panorama/huge-logo-and-plans", SampleTourVariant::Demo, ordinaryWidth, hugeLogoAndPlans, 1.10},
    {"panorama/progressive-logo-and-plans", SampleTourVariant::Demo, ordinaryWidth, progressiveLogoAndPlans, 1.45},
    {"panorama/16-bit-png-logo-and-plans", SampleTourVariant::Demo, ordinaryWidth, sixteenBitPngLogoAndPlans, 1.10},
    {"panorama/bmp-logo", SampleTourVariant::Demo, ordinaryWidth, bmpLogo, 1.10},
    {"panorama/gif-logo", SampleTourVariant::Demo, ordinaryWidth, gifLogo, 1.10},
    {"panorama/webp-photos", SampleTourVariant::Demo, ordinaryWidth, webpPhotos, 1.10},
};

// What a child measured.
struct Measured
{
    double peakMiB = 0;
    double openMs = 0;
    double startMs = 0;
    double stallMs = 0;
};

QTemporaryDir *packages = nullptr;
QMap<QString, double> peaks;

QString packagePath(const Case &tour)
{
    return packages->filePath(QString::fromLatin1(tour.name).replace(QLatin1Char('/'), QLatin1Char('-'))
                              + QStringLiteral(".lumivane"));
}

bool writePackage(const Case &tour)
{
    SampleTourOptions options;
    options.variant = tour.variant;
    options.photoWidth = ordinaryWidth;
    options.enlargedStartPhotoWidth = tour.startPhotoWidth == ordinaryWidth ? 0 : tour.startPhotoWidth;
    options.externalMedia = false;
    options.narration = false;
    if (tour.hostile)
        tour.hostile(options);
    const SampleTourResult result = writeSampleTour(options, packagePath(tour));
    if (!result.ok)
        std::fprintf(stderr, "cannot write %s: %s\n", tour.name, qPrintable(result.error));
    return result.ok;
}

// In the child: until no decode runs on the image pool for a second.
bool waitUntilDecodesEnd()
{
    QElapsedTimer quiet;
    quiet.start();
    return QTest::qWaitFor(
        [&quiet] {
            if (LumivaneImageCache::pool()->activeThreadCount() > 0)
                quiet.restart();
            return quiet.elapsed() > 1000;
        },
        waitMs);
}

bool pressStart(LumivaneViewerSheet &sheet)
{
    const QString start = L10n::shared().text(L10n::Key::coverStartTour);
    for (QAbstractButton *button : sheet.faceView()->findChildren<QAbstractButton *>()) {
        if (button->text() == start) {
            button->click();
            return sheet.face() == RootFace::stations;
        }
    }
    return false;
}

bool stationPhotoShown(LumivaneViewerSheet &sheet)
{
    StationStackView *stations = sheet.stationView();
    if (!stations)
        return false;
    if (ClassicMediaLayer *classic = stations->classicLayer())
        return !classic->slideshow()->shownImage().isNull();
    const Panorama360ViewerView *panorama = stations->panoramaLayer()->panorama();
    return panorama && !panorama->isLoadingPhoto();
}

// The longest time between two turns of the GUI thread's event loop since
// it was made, sampled by a timer.
class StallWatch
{
public:
    StallWatch()
    {
        m_sinceTurn.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, double(m_sinceTurn.nsecsElapsed()) / 1e6);
            m_sinceTurn.restart();
        });
        m_timer.start(5);
    }

    double longestMs() const { return std::max(m_longestMs, double(m_sinceTurn.nsecsElapsed()) / 1e6); }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTurn;
    double m_longestMs = 0;
};

double millisecondsOf(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The child: opens the package as the window does, waits for the cover,
// starts the visit, waits for the start photo and every preload, and
// prints what it measured.
int openAndMeasure(const QString &package)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Lumivane_ViewerApp window;
    window.resize(screenSize);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    Measured measured;
    measured.openMs = millisecondsOf([&] { window.loadTour(QUrl::fromLocalFile(package)); });
    const StallWatch stalls;
    auto *sheet = qobject_cast<LumivaneViewerSheet *>(window.contentView()->viewer());
    if (!sheet || !waitUntilDecodesEnd())
        return 3;
    bool started = false;
    measured.startMs = millisecondsOf([&] { started = pressStart(*sheet); });
    if (!started)
        return 3;
    if (!QTest::qWaitFor([sheet] { return stationPhotoShown(*sheet); }, waitMs) || !waitUntilDecodesEnd())
        return 4;
    measured.stallMs = stalls.longestMs();
    std::printf("peak %.1f open %.1f start %.1f stall %.1f\n", ProcessMemory::peakResidentMiB(), measured.openMs,
                measured.startMs, measured.stallMs);
    return 0;
}

std::optional<Measured> measureInChild(const Case &tour)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childOption), packagePath(tour)});
    if (!child.waitForFinished(5 * waitMs) || child.exitCode() != 0)
        return std::nullopt;
    const QByteArray output = child.readAllStandardOutput().trimmed();
    const qsizetype at = output.lastIndexOf("peak ");
    if (at < 0)
        return std::nullopt;
    const QList<QByteArray> words = output.mid(at).split(' ');
    if (words.size() < 8)
        return std::nullopt;
    return Measured{words[1].toDouble(), words[3].toDouble(), words[5].toDouble(), words[7].toDouble()};
}

void BM_PeakMemoryOpeningTour(benchmark::State &state, const Case &tour)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<Measured> measured = measureInChild(tour);
        if (!measured) {
            state.SkipWithError("the child process failed");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        peaks[QString::fromLatin1(tour.name)] = measured->peakMiB;
        state.counters["peak_MiB"] = measured->peakMiB;
        state.counters["open_ms"] = measured->openMs;
        state.counters["start_ms"] = measured->startMs;
        state.counters["stall_ms"] = measured->stallMs;
    }
}

// Each row's peak against its ordinary tour's, and the share it should meet.
void printRatio(const Case &tour)
{
    const QString name = QString::fromLatin1(tour.name);
    const QString ordinaryName = name.section(QLatin1Char('/'), 0, 0) + QStringLiteral("/8K");
    const double ordinary = peaks.value(ordinaryName);
    const double peak = peaks.value(name);
    if (tour.target <= 0 || ordinary <= 0 || peak <= 0)
        return;
    const double ratio = peak / ordinary;
    std::printf("%-38s peak / %s's: %5.0f / %.0f MiB = %.2f (target <= %.2f on software GL)%s\n", tour.name,
                qPrintable(ordinaryName), peak, ordinary, ratio, tour.target, ratio > tour.target ? "  NOT met" : "");
}

} // namespace

int main(int argc, char **argv)
{
    pinMediaBackend();
    // As the application does when it opens a tour.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], childOption) == 0)
        return openAndMeasure(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    packages = &dir;
    for (const Case &tour : cases) {
        std::fprintf(stderr, "writing %s...\n", tour.name);
        if (!writePackage(tour))
            return 1;
        benchmark::RegisterBenchmark((std::string("BM_PeakMemoryOpeningTour/") + tour.name).c_str(),
                                     BM_PeakMemoryOpeningTour, tour)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const Case &tour : cases)
        printRatio(tour);
    return 0;
}
