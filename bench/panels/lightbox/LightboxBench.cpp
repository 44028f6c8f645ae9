// The longest gap between frames of a window while the lightbox opens a
// 30-page PDF and a 16384x8192 JPEG: a 16 ms frame timer repaints the window
// and the gaps between its ticks are measured until the media show, and
// 300 ms beyond. Also the peak memory the image adds.

#include "bench/panorama/FrameTiming.h"
#include "panels/lightbox/LightboxImageView.h"
#include "panels/lightbox/LumivaneLightbox.h"

#include "l10n/L10n.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

struct Files
{
    QTemporaryDir dir;
    QUrl pdf;
    QUrl image;
};
Files *files = nullptr;

QUrl writePdf(const QString &path, int pages)
{
    QPdfWriter writer(path);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.drawText(QRect(0, 0, writer.width(), writer.height() / 8), Qt::AlignCenter,
                         QStringLiteral("Page %1").arg(page + 1));
        for (int line = 0; line < 40; ++line)
            painter.drawLine(0, writer.height() / 8 + line * 200, writer.width(), writer.height() / 4 + line * 180);
    }
    return QUrl::fromLocalFile(path);
}

QUrl writeImage(const QString &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(30, 90, 140));
    for (int x = 0; x < size.width(); x += 512)
        painter.fillRect(x, 0, 256, size.height(), QColor(200, 160, 90));
    painter.end();
    image.save(path, "JPEG", 85);
    return QUrl::fromLocalFile(path);
}

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct Gaps
{
    double longestMs = 0;
    double shownAfterMs = 0;
};

// Opens the content in a window-sized lightbox and measures the frame
// timer's gaps until `shown` holds, and 300 ms more.
Gaps openAndMeasure(const LightboxContent &content, const std::function<bool(LumivaneLightbox &)> &shown)
{
    L10n l10n(QStringList{QStringLiteral("en")});
    QWidget window;
    window.resize(1400, 900);
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    FrameTiming::RepaintGapMeter frames(window, 16);

    auto lightbox = std::make_unique<LumivaneLightbox>(content, l10n, &window);
    lightbox->resize(window.size());
    lightbox->show();
    qint64 shownAt = 0;
    while (clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!shownAt && shown(*lightbox))
            shownAt = clock.nsecsElapsed();
        if (shownAt && clock.nsecsElapsed() - shownAt > 300'000'000)
            break;
    }
    frames.stop();
    if (!shownAt)
        std::fprintf(stderr, "the media never showed\n");
    return {frames.longestMs(), double(shownAt) / 1e6};
}

void BM_LightboxFrameGapPdf30Pages(benchmark::State &state)
{
    for (auto _ : state) {
        const Gaps gaps = openAndMeasure({LightboxContent::Kind::pdf, files->pdf, QStringLiteral("Plan")},
                                         [](LumivaneLightbox &) { return true; });
        state.SetIterationTime(gaps.longestMs / 1000);
    }
}

void BM_LightboxFrameGapImage16K(benchmark::State &state)
{
    double shownAfter = 0;
    qint64 peakAdded = 0;
    for (auto _ : state) {
        resetPeakResident();
        const qint64 before = peakResidentKb();
        const Gaps gaps = openAndMeasure({LightboxContent::Kind::image, files->image, QStringLiteral("16K")},
                                         [](LumivaneLightbox &lightbox) {
                                             auto *view = dynamic_cast<LightboxImageView *>(lightbox.mediaView());
                                             return view && view->state() != LightboxImageView::State::loading;
                                         });
        peakAdded = std::max(peakAdded, peakResidentKb() - before);
        shownAfter = std::max(shownAfter, gaps.shownAfterMs);
        state.SetIterationTime(gaps.longestMs / 1000);
    }
    state.counters["shown_after_ms"] = shownAfter;
    state.counters["peak_memory_added_MB"] = double(peakAdded) / 1024;
}

} // namespace

BENCHMARK(BM_LightboxFrameGapPdf30Pages)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_LightboxFrameGapImage16K)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Files written;
    std::fprintf(stderr, "writing a 30-page PDF and a 16384x8192 JPEG...\n");
    written.pdf = writePdf(written.dir.filePath(QStringLiteral("plan.pdf")), 30);
    written.image = writeImage(written.dir.filePath(QStringLiteral("huge.jpg")), QSize(16384, 8192));
    files = &written;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
