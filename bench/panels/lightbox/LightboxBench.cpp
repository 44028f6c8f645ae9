// The longest gap between frames of a window while the lightbox opens a
// 30-page PDF and a 16384x8192 photo-like JPEG: a 16 ms frame timer repaints
// the window and the gaps between its ticks are measured until the media
// show (the PDF's first page rendered, the image decoded), and 300 ms
// beyond. Also when they showed and the peak memory the image adds.

#include "bench/panorama/BenchPhotos.h"
#include "bench/panorama/FrameTiming.h"
#include "bench/panorama/ProcessMemory.h"
#include "panels/lightbox/LightboxImageView.h"
#include "panels/lightbox/LightboxPdfView.h"
#include "panels/lightbox/LumivaneLightbox.h"

#include "l10n/L10n.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfPageRenderer>
#include <QPdfView>
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

struct Gaps
{
    double longestMs = 0;
    double shownAfterMs = 0;
};

// Given the lightbox as soon as it is made, before it is shown; answers
// whether its media show yet.
using ShownWatch = std::function<std::function<bool()>(LumivaneLightbox &)>;

// Opens the content in a window-sized lightbox and measures the frame
// timer's gaps until its media show, and 300 ms more.
Gaps openAndMeasure(const LightboxContent &content, const ShownWatch &watch)
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
    const std::function<bool()> shown = watch(*lightbox);
    lightbox->resize(window.size());
    lightbox->show();
    qint64 shownAt = 0;
    while (clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (!shownAt && shown())
            shownAt = clock.nsecsElapsed();
        if (shownAt && clock.nsecsElapsed() - shownAt > 300'000'000)
            break;
    }
    frames.stop();
    if (!shownAt)
        std::fprintf(stderr, "the media never showed\n");
    return {frames.longestMs(), double(shownAt) / 1e6};
}

// The PDF view renders its pages off the paint and draws each on the paint
// after it arrived: the first page rendered is the document shown.
ShownWatch firstPdfPageRendered()
{
    return [](LumivaneLightbox &lightbox) -> std::function<bool()> {
        auto rendered = std::make_shared<bool>(false);
        auto *pdf = dynamic_cast<LightboxPdfView *>(lightbox.mediaView());
        auto *renderer = pdf ? pdf->pdfView()->findChild<QPdfPageRenderer *>() : nullptr;
        if (!renderer)
            std::fprintf(stderr, "the lightbox shows no PDF view with a page renderer\n");
        else
            QObject::connect(renderer, &QPdfPageRenderer::pageRendered, renderer, [rendered] { *rendered = true; });
        return [rendered] { return *rendered; };
    };
}

void BM_LightboxFrameGapPdf30Pages(benchmark::State &state)
{
    double shownAfter = 0;
    for (auto _ : state) {
        const Gaps gaps =
            openAndMeasure({LightboxContent::Kind::pdf, files->pdf, QStringLiteral("Plan")}, firstPdfPageRendered());
        shownAfter = std::max(shownAfter, gaps.shownAfterMs);
        state.SetIterationTime(gaps.longestMs / 1000);
    }
    state.counters["shown_after_ms"] = shownAfter;
}

void BM_LightboxFrameGapImage16K(benchmark::State &state)
{
    double shownAfter = 0;
    double peakAddedMiB = 0;
    for (auto _ : state) {
        ProcessMemory::resetPeakResident();
        const double before = ProcessMemory::peakResidentMiB();
        const Gaps gaps = openAndMeasure({LightboxContent::Kind::image, files->image, QStringLiteral("16K")},
                                         [](LumivaneLightbox &lightbox) -> std::function<bool()> {
                                             return [&lightbox] {
                                                 auto *view = dynamic_cast<LightboxImageView *>(lightbox.mediaView());
                                                 return view && view->state() == LightboxImageView::State::shown;
                                             };
                                         });
        peakAddedMiB = std::max(peakAddedMiB, ProcessMemory::peakResidentMiB() - before);
        shownAfter = std::max(shownAfter, gaps.shownAfterMs);
        state.SetIterationTime(gaps.longestMs / 1000);
    }
    state.counters["shown_after_ms"] = shownAfter;
    state.counters["peak_memory_added_MB"] = peakAddedMiB;
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
    // Noise and gradients, so that it decodes like a photo and not like flat stripes.
    written.image = QUrl::fromLocalFile(BenchPhotos::writePhoto(written.dir, QStringLiteral("huge.jpg"), 16384, 8192, 16));
    files = &written;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
