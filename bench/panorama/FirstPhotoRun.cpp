#include "FirstPhotoRun.h"

#include "BenchViews.h"
#include "FrameTiming.h"
#include "ProcessMemory.h"

#include "media/images/LumivaneImageCache.h"

#include <QHash>
#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace BenchViews;

namespace {

// Steady-clock times of the frames that first showed a picture of the
// photo and the full-resolution photo after `since`, each drawn at half
// opacity or more.
struct FrameWatch
{
    qint64 since = 0;
    qint64 preview = 0;
    qint64 full = 0;
};

void watchFrames(Panorama360ViewerView &view, FrameWatch &watch, const SceneTexture *before)
{
    QObject::connect(&view, &QOpenGLWidget::frameSwapped, &view, [&view, &watch, before] {
        const qint64 now = steadyNs();
        const SceneTexture *shown = view.coordinator().sphereNode->geometry()->firstMaterial().texture.get();
        if (!watch.preview && photoShown(view) && shown != before)
            watch.preview = now;
        if (!watch.full && fullResolutionShown(view))
            watch.full = now;
    });
}

void print(const char *name, double value)
{
    std::printf("%s %.3f\n", name, value);
}

double ms(qint64 from, qint64 to)
{
    return double(to - from) / 1e6;
}

} // namespace

namespace FirstPhotoRun {

int run(const QString &first, const QString &second)
{
    const auto cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));
    Panorama360ViewerView::Inputs inputs = viewInputs(QUrl::fromLocalFile(first));
    inputs.autoRotate = true;
    inputs.autoRotateDurationSeconds = 40;
    FrameWatch firstWatch{steadyNs()};
    Panorama360ViewerView view(inputs, cache);
    watchFrames(view, firstWatch, nullptr);
    view.resize(1920, 1080);
    view.show();
    // Fully shown, and a frame painted since the full resolution arrived.
    if (!QTest::qWaitForWindowExposed(&view)
        || !FrameTiming::waitUntil([&view, &firstWatch] { return fullyShown(view) && firstWatch.full; }, 60000))
        return 1;
    print("view_created_ns", double(firstWatch.since));
    print("first_preview_ns", double(firstWatch.preview));
    print("first_full_ns", double(firstWatch.full));
    print("peak_first_mib", ProcessMemory::peakResidentMiB());
    print("pss_first_mib", ProcessMemory::proportionalMiB());

    QObject::disconnect(&view, &QOpenGLWidget::frameSwapped, nullptr, nullptr);
    FrameWatch switchWatch{steadyNs()};
    watchFrames(view, switchWatch, view.coordinator().sphereNode->geometry()->firstMaterial().texture.get());
    inputs.imageURL = QUrl::fromLocalFile(second);
    view.setInputs(inputs);
    if (!FrameTiming::waitUntil([&view, &switchWatch] { return fullyShown(view) && switchWatch.full; }, 60000))
        return 1;
    // What is let go once the switch has settled goes first.
    FrameTiming::waitUntil([] { return false; }, 500);
    print("switch_preview_ms", ms(switchWatch.since, switchWatch.preview));
    print("switch_full_ms", ms(switchWatch.since, switchWatch.full));
    print("peak_switch_mib", ProcessMemory::peakResidentMiB());
    print("pss_switch_mib", ProcessMemory::proportionalMiB());
    std::fflush(stdout);
    return 0;
}

std::optional<Figures> measure(const QString &program, const QString &first, const QString &second)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = steadyNs();
    child.start(program, {QString::fromLatin1(option), first, second});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return std::nullopt;
    QHash<QByteArray, double> values;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            values.insert(parts[0], parts[1].toDouble());
    }
    const auto at = [&values](const char *name) { return qint64(values.value(name)); };
    Figures figures;
    figures.processToPreviewMs = ms(started, at("first_preview_ns"));
    figures.processToFullMs = ms(started, at("first_full_ns"));
    figures.viewToPreviewMs = ms(at("view_created_ns"), at("first_preview_ns"));
    figures.viewToFullMs = ms(at("view_created_ns"), at("first_full_ns"));
    figures.switchToPreviewMs = values.value("switch_preview_ms");
    figures.switchToFullMs = values.value("switch_full_ms");
    figures.peakAfterFirstMiB = values.value("peak_first_mib");
    figures.pssAfterFirstMiB = values.value("pss_first_mib");
    figures.peakAfterSwitchMiB = values.value("peak_switch_mib");
    figures.pssAfterSwitchMiB = values.value("pss_switch_mib");
    return figures;
}

} // namespace FirstPhotoRun
