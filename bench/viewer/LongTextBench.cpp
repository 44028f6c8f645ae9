// Hostile tour texts (megabytes, combining marks, emoji that the colour
// font draws) against ordinary ones, screen by screen: how long the
// cover, the station view, an info card and the information panel take to
// open with each (until laid out and painted), and the longest time the
// event loop stood still while the screen opened, while its scroll areas
// were run through to their ends, and while the window was made as small
// as it may be and large again. Times are wall-clock and, as the machine
// may be loaded, also the GUI thread's own CPU time. Every case builds the
// same tour and only its texts differ, so the difference to the ordinary
// case is what the texts cost.
//
// Run under the virtual display:
//   xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX" bench_viewer_long_texts

#include "bench/panorama/BenchPhotos.h"
#include "bench/panorama/FrameTiming.h"
#include "TestTours.h"
#include "tests/support/PngBytes.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "media/sound/LumivaneAudioService.h"
#include "media/sound/MediaBackend.h"
#include "model/LumivaneProjectFields.h"
#include "viewer/LumivaneViewerSheet.h"
#include "viewer/state/ViewerController.h"

#include <QApplication>
#include <QImage>
#include <QOpenGLWidget>
#include <QPainter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr QSize screenSize(1920, 1080);
constexpr QSize smallestWindow(900, 600);
constexpr int mebi = 1 << 20;
constexpr double openBudgetMs = 100;
constexpr double gapBudgetMs = 50;

enum class Texts {
    ordinary,
    everyText1MiB,
    description1MiB,
    name1MiB,
    name1MiBWithoutSpace,
    name200kCombining,
    descriptionJoinerChain,
    nameJoinerChain,
    descriptionFlags,
    nameFlags,
};
enum class Screen { cover, station, infoCard, infoPanel };

const char *textsName(Texts texts)
{
    static const std::array names{"ordinary", "every text 1 MiB", "card description 1 MiB", "names 1 MiB",
                                  "names 1 MiB, no space", "names of 200,000 combining marks",
                                  "card description: emoji joiner chain", "names: emoji joiner chain",
                                  "card description: flags", "names: flags"};
    return names[size_t(texts)];
}

const char *screenName(Screen screen)
{
    static const std::array names{"cover", "station view", "info card", "info panel"};
    return names[size_t(screen)];
}

struct Fixture
{
    QTemporaryDir dir;
    QUrl photo;
    QByteArray floorplan;
    std::shared_ptr<LumivaneImageCache> cache =
        LumivaneImageCache::create(LumivaneImageCache::limitsForPhysicalMemory(LumivaneImageCache::physicalMemory()));
    L10n language{QStringList{QStringLiteral("fr-FR")}};
    LumivaneAudioService narration;
    QWidget window; // the application's window, made once: its native window is no text's cost
};

Fixture *fixture = nullptr;

// Words and line breaks, as an author writes: repeated to the length asked.
QString prose(int length)
{
    static const QString sentence = QStringLiteral(
        "Une grande pièce lumineuse, parquet ancien et cheminée de marbre, ouvre sur le jardin par trois portes-"
        "fenêtres.\nLes boiseries d'origine ont été restaurées en 2019. ");
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += sentence;
    text.truncate(length);
    return text;
}

QString combiningMarks(int marks)
{
    return QStringLiteral("a") + QString(marks, QChar(0x0301));
}

// Just longer than the longest text a view shows.
constexpr int emojiLength = 17000;

QString repeatedTo(const QString &unit, int length)
{
    QString text;
    text.reserve(length + unit.size());
    while (text.size() < length)
        text += unit;
    return text;
}

// One grapheme cluster of thousands of men joined by zero-width joiners.
QString joinerChain()
{
    return repeatedTo(QString::fromUcs4(U"\U0001F468\u200D"), emojiLength);
}

// Thousands of flags, each a pair of regional indicators.
QString flags()
{
    return repeatedTo(QString::fromUcs4(U"\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\U0001F1EE\U0001F1F9"
                                        U"\U0001F1EA\U0001F1F8\U0001F1EC\U0001F1E7\U0001F1EF\U0001F1F5"),
                      emojiLength);
}

void setText(QString &field, const QString &text)
{
    field = text;
}

void setText(std::optional<QString> &field, const QString &text)
{
    field = text;
}

void setText(std::optional<QStringList> &field, const QString &text)
{
    field = QStringList{text, text};
}

template<typename Other>
void setText(Other &, const QString &)
{
}

// Texts that are addresses, colours, passwords or file names keep their
// ordinary values: they change the tour's behaviour, not its texts.
void setEveryProjectText(LumivaneProject &project, const QString &text)
{
    const LumivaneProject kept = project;
#define LUMIVANE_SET_TEXT(Type, name, ...) setText(project.name, text);
    LUMIVANE_PROJECT_FIELDS(LUMIVANE_SET_TEXT, LUMIVANE_SET_TEXT, LUMIVANE_SET_TEXT)
#undef LUMIVANE_SET_TEXT
    project.brandingAccentHex = kept.brandingAccentHex;
    project.tourPassword.reset();
    project.contactFormEmail = kept.contactFormEmail;
    project.contactFormWebhookURL = kept.contactFormWebhookURL;
    project.feedbackEmail = kept.feedbackEmail;
    project.ambientSoundFileName.reset();
    for (CustomField &field : project.customFields)
        field.name = field.value = text;
    for (Station &station : project.stations) {
        station.level = station.publicCaption = text;
        station.nameTranslations = Translations{{QStringLiteral("fr"), text}};
        for (Hotspot &hotspot : station.hotspots) {
            hotspot.label = hotspot.infoTitle = hotspot.infoDescription = text;
            for (HotspotAttachment &attachment : hotspot.attachments) {
                attachment.title = text;
                if (attachment.kind == AttachmentKind::text)
                    attachment.payload = text;
            }
        }
    }
}

void setNames(LumivaneProject &project, const QString &text)
{
    project.name = text;
    for (Station &station : project.stations) {
        station.name = text;
        station.nameTranslations.reset();
    }
}

QByteArray floorplanPng()
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 6));
    painter.drawRect(image.rect().adjusted(20, 20, -20, -20));
    painter.end();
    return pngBytes(image);
}

// Six stations on one floor plan, each leading to the next, with an info
// card of every attachment kind on the first, an information panel of
// facts, notes and custom fields: what a real tour shows.
LumivaneProject tour(Texts texts)
{
    LumivaneProject project = TestTours::tour(6, 1);
    project.name = QStringLiteral("Villa des Tilleuls");
    project.address = QStringLiteral("12 chemin des Vignes, 69000 Lyon");
    project.coverAgencyName = QStringLiteral("Agence du Parc");
    project.coverDescription = prose(400);
    project.coverContactEmail = QStringLiteral("contact@agence-du-parc.fr");
    project.coverContactWebsite = QStringLiteral("agence-du-parc.fr");
    project.coverContactPhone = QStringLiteral("+33 4 78 00 00 00");
    project.contactFormEnabled = true;
    project.contactFormEmail = QStringLiteral("contact@agence-du-parc.fr");
    project.watermarkText = QStringLiteral("© Agence du Parc");
    project.freeNote = prose(300);
    project.area = 180;
    project.roomCount = 7;
    project.price = 890000;
    project.openingHours = QStringLiteral("Du lundi au samedi, 9 h – 18 h");
    project.customFields = {CustomField{QUuid::createUuid(), QStringLiteral("Chauffage"), CustomFieldType::text,
                                        QStringLiteral("Pompe à chaleur")}};
    project.floorplanImageData = fixture->floorplan;
    for (int n = 0; n < project.stations.size(); ++n) {
        Station &station = project.stations[n];
        station.name = QStringLiteral("Salon %1").arg(n + 1);
        station.level = QStringLiteral("Rez-de-chaussée");
        station.publicCaption = QStringLiteral("Vue sur le jardin");
        station.floorplanX = 0.15 + 0.14 * n;
        station.floorplanY = 0.5;
    }
    Hotspot card = TestTours::infoHotspot(QStringLiteral("Cuisine"), prose(600));
    card.attachments << HotspotAttachment{QUuid::createUuid(), AttachmentKind::pdf, "Plan", "plan.pdf"}
                     << HotspotAttachment{QUuid::createUuid(), AttachmentKind::link, "Site", "example.org"}
                     << HotspotAttachment{QUuid::createUuid(), AttachmentKind::sound, "Ambiance", "a.wav"}
                     << HotspotAttachment{QUuid::createUuid(), AttachmentKind::text, "Note", prose(300)};
    project.stations[0].hotspots << card;

    switch (texts) {
    case Texts::ordinary:
        break;
    case Texts::everyText1MiB:
        setEveryProjectText(project, prose(mebi));
        break;
    case Texts::description1MiB:
        project.stations[0].hotspots.back().infoDescription = prose(mebi);
        break;
    case Texts::name1MiB:
        setNames(project, prose(mebi));
        break;
    case Texts::name1MiBWithoutSpace:
        setNames(project, QString(mebi, QLatin1Char('m')));
        break;
    case Texts::name200kCombining:
        setNames(project, combiningMarks(200000));
        break;
    case Texts::descriptionJoinerChain:
        project.stations[0].hotspots.back().infoDescription = joinerChain();
        break;
    case Texts::nameJoinerChain:
        setNames(project, joinerChain());
        break;
    case Texts::descriptionFlags:
        project.stations[0].hotspots.back().infoDescription = flags();
        break;
    case Texts::nameFlags:
        setNames(project, flags());
        break;
    }
    return project;
}

std::unique_ptr<LumivaneViewerSheet> makeSheet(Texts texts)
{
    ViewerServices services;
    services.l10n = &fixture->language;
    services.narration = &fixture->narration;
    services.imageCache = fixture->cache;
    ViewerTour viewerTour;
    viewerTour.project = tour(texts);
    viewerTour.projectID = viewerTour.project.id;
    viewerTour.photoURLResolver = [](const QUuid &) -> std::optional<QUrl> { return fixture->photo; };
    auto sheet = std::make_unique<LumivaneViewerSheet>(std::move(viewerTour), services, &fixture->window);
    sheet->setGeometry(fixture->window.rect());
    return sheet;
}

// CPU time of the calling (GUI) thread: what a step costs, whatever else
// the machine runs meanwhile.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

/// Keeps the longest time between two turns of the event loop while it
/// lives: a step that blocks the GUI thread shows as one long gap. On a
/// loaded machine a gap also holds the time the thread waited for a core;
/// the GUI thread's CPU time within a gap is what the step itself cost.
class LoopGapMeter
{
public:
    LoopGapMeter()
    {
        m_clock.start();
        m_lastCpuMs = threadCpuMs();
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const double cpu = threadCpuMs();
            m_longestNs = std::max(m_longestNs, now - m_lastNs);
            m_longestBusyMs = std::max(m_longestBusyMs, cpu - m_lastCpuMs);
            m_lastNs = now;
            m_lastCpuMs = cpu;
        });
        m_tick.start(2);
    }

    double longestMs() const { return double(m_longestNs) / 1e6; }
    double longestBusyMs() const { return m_longestBusyMs; }

private:
    QElapsedTimer m_clock;
    QTimer m_tick;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    double m_lastCpuMs = 0;
    double m_longestBusyMs = 0;
};

void idle(int ms)
{
    FrameTiming::waitUntil([] { return false; }, ms);
}

// Until the change is laid out and painted: what the visitor waits for.
void paintNow(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.repaint();
    QCoreApplication::processEvents();
}

// The screen's scroll areas run through to their ends, a step at a time.
void scrollThrough(LumivaneViewerSheet &sheet)
{
    idle(20);
    for (QScrollArea *scroll : sheet.findChildren<QScrollArea *>()) {
        QScrollBar *bar = scroll->verticalScrollBar();
        if (!scroll->isVisible() || bar->maximum() <= 0)
            continue;
        for (int step = 1; step <= 12; ++step) {
            bar->setValue(bar->maximum() * step / 12);
            idle(20);
        }
    }
}

// The window made as small as it may be and large again: every text laid
// out anew at other widths.
void resizeWindow(LumivaneViewerSheet &sheet)
{
    for (const QSize size : {smallestWindow, screenSize}) {
        fixture->window.resize(size);
        sheet.resize(size);
        idle(100);
    }
}

struct Measure
{
    double openMs = 0;
    double openCpuMs = 0;
    double openGapMs = 0;
    double scrollGapMs = 0;
    double scrollBusyMs = 0;
    double resizeGapMs = 0;
    double resizeBusyMs = 0;
};

// Opens the screen on a sheet that shows the one before it: the cover for
// the station view, the station view for the card and the panel.
Measure openScreen(Texts texts, Screen screen)
{
    std::unique_ptr<LumivaneViewerSheet> sheet;
    if (screen != Screen::cover) {
        sheet = makeSheet(texts);
        sheet->show();
        if (screen != Screen::station) {
            sheet->controller().startTour();
            sheet->controller().hideSplash();
        }
        idle(600); // entrances end, the photo arrives
    }
    Measure measure;
    {
        LoopGapMeter gaps;
        idle(50);
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = threadCpuMs();
        switch (screen) {
        case Screen::cover:
            sheet = makeSheet(texts);
            sheet->show();
            break;
        case Screen::station:
            sheet->controller().startTour();
            break;
        case Screen::infoCard:
            sheet->controller().showInfoCard(sheet->controller().project().stations[0].hotspots.back());
            break;
        case Screen::infoPanel:
            sheet->controller().togglePropertyInfo();
            break;
        }
        paintNow(*sheet);
        measure.openMs = double(clock.nsecsElapsed()) / 1e6;
        measure.openCpuMs = threadCpuMs() - cpuStart;
        idle(600); // the screen's own entrance
        measure.openGapMs = gaps.longestMs();
    }
    {
        LoopGapMeter gaps;
        scrollThrough(*sheet);
        measure.scrollGapMs = gaps.longestMs();
        measure.scrollBusyMs = gaps.longestBusyMs();
    }
    LoopGapMeter gaps;
    resizeWindow(*sheet);
    measure.resizeGapMs = gaps.longestMs();
    measure.resizeBusyMs = gaps.longestBusyMs();
    return measure;
}

std::map<std::pair<Texts, Screen>, Measure> results;

void BM_OpenScreen(benchmark::State &state)
{
    const auto texts = Texts(state.range(0));
    const auto screen = Screen(state.range(1));
    state.SetLabel(std::string(screenName(screen)) + ", " + textsName(texts));
    Measure worst;
    double totalOpenMs = 0;
    double totalOpenCpuMs = 0;
    for (auto _ : state) {
        const Measure measure = openScreen(texts, screen);
        totalOpenMs += measure.openMs;
        totalOpenCpuMs += measure.openCpuMs;
        worst.openGapMs = std::max(worst.openGapMs, measure.openGapMs);
        worst.scrollGapMs = std::max(worst.scrollGapMs, measure.scrollGapMs);
        worst.scrollBusyMs = std::max(worst.scrollBusyMs, measure.scrollBusyMs);
        worst.resizeGapMs = std::max(worst.resizeGapMs, measure.resizeGapMs);
        worst.resizeBusyMs = std::max(worst.resizeBusyMs, measure.resizeBusyMs);
        state.SetIterationTime(measure.openMs / 1000);
    }
    worst.openMs = totalOpenMs / double(state.iterations());
    worst.openCpuMs = totalOpenCpuMs / double(state.iterations());
    results[{texts, screen}] = worst;
    state.counters["open_ms"] = worst.openMs;
    state.counters["open_cpu_ms"] = worst.openCpuMs;
    state.counters["open_gap_ms"] = worst.openGapMs;
    state.counters["scroll_gap_ms"] = worst.scrollGapMs;
    state.counters["scroll_busy_ms"] = worst.scrollBusyMs;
    state.counters["resize_gap_ms"] = worst.resizeGapMs;
    state.counters["resize_busy_ms"] = worst.resizeBusyMs;
}

void registerBenchmarks()
{
    for (int texts = 0; texts <= int(Texts::nameFlags); ++texts) {
        for (int screen = 0; screen <= int(Screen::infoPanel); ++screen) {
            benchmark::RegisterBenchmark("BM_OpenScreen", BM_OpenScreen)
                ->Args({texts, screen})
                ->ArgNames({"texts", "screen"})
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(3);
        }
    }
}

QString loadAverage()
{
    QProcess uptime;
    uptime.start(QStringLiteral("uptime"));
    uptime.waitForFinished(2000);
    const QString line = QString::fromLocal8Bit(uptime.readAllStandardOutput()).trimmed();
    return line.mid(line.indexOf(QLatin1String("load average")));
}

// Each hostile case against the ordinary one on the same screen: the time to
// open (mean of the runs, wall and GUI-thread CPU) and the longest stalls
// (worst run; wall, and the GUI thread's CPU within a stall: on a loaded
// machine the wall time also holds the waits for a core).
void printSummary()
{
    std::printf("\nhostile / ordinary texts\n%-33s %-12s %15s %15s %15s %15s %15s %15s %15s\n", "texts", "screen",
                "open ms", "open cpu ms", "open gap ms", "scroll gap ms", "scroll busy ms", "resize gap ms",
                "resize busy ms");
    bool withinTargets = true;
    for (const auto &[key, measure] : results) {
        const auto ordinary = results.find({Texts::ordinary, key.second});
        if (key.first == Texts::ordinary || ordinary == results.end())
            continue;
        const Measure &base = ordinary->second;
        std::printf("%-33s %-12s", textsName(key.first), screenName(key.second));
        for (const auto &[hostile, plain] :
             {std::pair{measure.openMs, base.openMs}, {measure.openCpuMs, base.openCpuMs},
              {measure.openGapMs, base.openGapMs}, {measure.scrollGapMs, base.scrollGapMs},
              {measure.scrollBusyMs, base.scrollBusyMs}, {measure.resizeGapMs, base.resizeGapMs},
              {measure.resizeBusyMs, base.resizeBusyMs}})
            std::printf(" %6.1f / %6.1f", hostile, plain);
        std::printf("\n");
        withinTargets = withinTargets && measure.openMs - base.openMs <= openBudgetMs
                        && measure.openCpuMs - base.openCpuMs <= openBudgetMs && measure.scrollBusyMs <= gapBudgetMs;
    }
    std::printf("targets: opening within %.0f ms of the ordinary texts (wall and CPU), no step over %.0f ms of the "
                "GUI thread while scrolling: %s\n",
                openBudgetMs, gapBudgetMs, withinTargets ? "met" : "NOT met");
    std::printf("%s\n", qPrintable(loadAverage()));
}

} // namespace

int main(int argc, char **argv)
{
    pinMediaBackend();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture f;
    fixture = &f;
    f.photo = QUrl::fromLocalFile(BenchPhotos::writePhoto(f.dir, QStringLiteral("station.jpg"), 2048, 1024, 1));
    f.floorplan = floorplanPng();
    // As the application's window: a hidden GL widget from the start, so the
    // first panorama does not make the native window again.
    auto *gl = new QOpenGLWidget(&f.window);
    gl->hide();
    f.window.resize(screenSize);
    f.window.show();
    if (!QTest::qWaitForWindowExposed(&f.window))
        std::fprintf(stderr, "the window was not shown\n");
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
