// Hostile tour texts (megabytes, combining marks, emoji that the colour
// font draws, a megabyte of each class of code point that may send a text
// to that font) against ordinary ones, screen by screen: how long the
// cover, the station view, an info card and the information panel take to
// open with each (until laid out and painted), and the longest time the
// event loop stood still while the screen opened, while its scroll areas
// were run through to their ends, and while the window was made as small
// as it may be and large again. Times are wall-clock and, as the machine
// may be loaded, also the GUI thread's own CPU time. Every case builds the
// same tour and only its texts differ, so the difference to the ordinary
// case is what the texts cost. The targets are judged on the GUI thread's
// CPU time: on a loaded machine the wall clock also holds the waits for a
// core, which made a case whose CPU time was below the ordinary one's miss.
// A case that still opens past its budget is measured again, with the
// ordinary one, before it is reported.
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

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr QSize screenSize(1920, 1080);
constexpr QSize smallestWindow(900, 600);
constexpr int mebi = 1 << 20;
constexpr double openBudgetMs = 100;
constexpr double gapBudgetMs = 50;

enum class Screen { cover, station, infoCard, infoPanel };

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

// The info card that tour() puts on the first station.
void setCardDescription(LumivaneProject &project, const QString &text)
{
    project.stations[0].hotspots.back().infoDescription = text;
}

QList<char32_t> codePoints(char32_t first, char32_t last)
{
    QList<char32_t> codes;
    for (char32_t code = first; code <= last; ++code)
        codes << code;
    return codes;
}

QList<char32_t> codePointsOf(std::initializer_list<QChar::Category> categories, char32_t first = 0,
                             char32_t last = 0x10FFFF)
{
    QList<char32_t> codes;
    for (char32_t code = first; code <= last; ++code) {
        if (std::find(categories.begin(), categories.end(), QChar::category(code)) != categories.end())
            codes << code;
    }
    return codes;
}

// 1 MiB of the code points in turn, each after the base where one is given:
// marks and tags after nothing would all join one cluster.
QString codePointText(const QList<char32_t> &codes, QStringView base = {})
{
    QString text;
    text.reserve(mebi + 8);
    for (qsizetype n = 0; text.size() < mebi; ++n) {
        text += base;
        text += QString::fromUcs4(&codes[n % codes.size()], 1);
    }
    return text;
}

struct CodePointClass
{
    const char *name;
    QString text;
};

// Each class of code point the colour emoji font may draw. Of plane 15's
// private use, glyphs that font has; of the unassigned code points, those
// among the emoji, which the font may know before Qt does.
QList<CodePointClass> codePointClasses()
{
    return {{"private use, BMP", codePointText(codePoints(0xE000, 0xF8FF))},
            {"private use, plane 15", codePointText(codePoints(0xFE4E5, 0xFE4E7))},
            {"private use, plane 16", codePointText(codePoints(0x100000, 0x10FFFD))},
            {"tags", codePointText(codePoints(0xE0020, 0xE007F), u"x")},
            {"variation selectors",
             codePointText(codePoints(0xFE00, 0xFE0F) + codePoints(0xE0100, 0xE01EF), u"x")},
            {"symbols", codePointText(codePointsOf({QChar::Symbol_Other, QChar::Symbol_Modifier}, 0x100))},
            {"enclosing marks", codePointText(codePointsOf({QChar::Mark_Enclosing}), u"1")},
            {"unassigned", codePointText(codePointsOf({QChar::Other_NotAssigned}, 0x1F000, 0x1FAFF))}};
}

/// One set of texts the same tour is built with; the first is the ordinary one.
struct TextCase
{
    std::string name;
    std::function<void(LumivaneProject &)> apply;
};

std::vector<TextCase> textCases()
{
    std::vector<TextCase> cases{
        {"ordinary", [](LumivaneProject &) {}},
        {"every text 1 MiB", [](LumivaneProject &p) { setEveryProjectText(p, prose(mebi)); }},
        {"card description 1 MiB", [](LumivaneProject &p) { setCardDescription(p, prose(mebi)); }},
        {"names 1 MiB", [](LumivaneProject &p) { setNames(p, prose(mebi)); }},
        {"names 1 MiB, no space", [](LumivaneProject &p) { setNames(p, QString(mebi, QLatin1Char('m'))); }},
        {"names of 200,000 combining marks", [](LumivaneProject &p) { setNames(p, combiningMarks(200000)); }},
        {"card description: emoji joiner chain", [](LumivaneProject &p) { setCardDescription(p, joinerChain()); }},
        {"names: emoji joiner chain", [](LumivaneProject &p) { setNames(p, joinerChain()); }},
        {"card description: flags", [](LumivaneProject &p) { setCardDescription(p, flags()); }},
        {"names: flags", [](LumivaneProject &p) { setNames(p, flags()); }},
    };
    for (const CodePointClass &c : codePointClasses()) {
        const QString text = c.text;
        cases.push_back({std::string("card description: ") + c.name,
                         [text](LumivaneProject &p) { setCardDescription(p, text); }});
        cases.push_back({std::string("names: ") + c.name, [text](LumivaneProject &p) { setNames(p, text); }});
    }
    return cases;
}

std::vector<TextCase> cases;

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
LumivaneProject tour(size_t texts)
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
    cases[texts].apply(project);
    return project;
}

std::unique_ptr<LumivaneViewerSheet> makeSheet(size_t texts)
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
Measure openScreen(size_t texts, Screen screen)
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

std::map<std::pair<size_t, Screen>, Measure> results;

void BM_OpenScreen(benchmark::State &state)
{
    const auto texts = size_t(state.range(0));
    const auto screen = Screen(state.range(1));
    state.SetLabel(std::string(screenName(screen)) + ", " + cases[texts].name);
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
    for (size_t texts = 0; texts < cases.size(); ++texts) {
        for (int screen = 0; screen <= int(Screen::infoPanel); ++screen) {
            benchmark::RegisterBenchmark("BM_OpenScreen", BM_OpenScreen)
                ->Args({int64_t(texts), screen})
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

double meanOpenCpuMs(size_t texts, Screen screen)
{
    constexpr int runs = 3;
    double totalMs = 0;
    for (int run = 0; run < runs; ++run)
        totalMs += openScreen(texts, screen).openCpuMs;
    return totalMs / runs;
}

// Whether the case opens within the budget of the ordinary texts; past it,
// both are measured again and the second figures decide: the caches and
// cores shared with other work slow the GUI thread's CPU time too, if less.
bool opensInTime(size_t texts, Screen screen, const Measure &measure, const Measure &base)
{
    if (measure.openCpuMs - base.openCpuMs <= openBudgetMs)
        return true;
    const double againMs = meanOpenCpuMs(texts, screen);
    const double baseAgainMs = meanOpenCpuMs(0, screen);
    std::printf("  measured again: open cpu %.1f / %.1f ms\n", againMs, baseAgainMs);
    return againMs - baseAgainMs <= openBudgetMs;
}

// Each hostile case against the ordinary one on the same screen: the time to
// open (mean of the runs, wall and GUI-thread CPU) and the longest stalls
// (worst run; wall, and the GUI thread's CPU within a stall: on a loaded
// machine the wall time also holds the waits for a core). A case over its
// targets is marked "over".
void printSummary()
{
    std::printf("\nhostile / ordinary texts\n%-45s %-12s %15s %15s %15s %15s %15s %15s %15s\n", "texts", "screen",
                "open ms", "open cpu ms", "open gap ms", "scroll gap ms", "scroll busy ms", "resize gap ms",
                "resize busy ms");
    bool withinTargets = true;
    for (const auto &[key, measure] : results) {
        const auto ordinary = results.find({0, key.second});
        if (key.first == 0 || ordinary == results.end())
            continue;
        const Measure &base = ordinary->second;
        std::printf("%-45s %-12s", cases[key.first].name.c_str(), screenName(key.second));
        for (const auto &[hostile, plain] :
             {std::pair{measure.openMs, base.openMs}, {measure.openCpuMs, base.openCpuMs},
              {measure.openGapMs, base.openGapMs}, {measure.scrollGapMs, base.scrollGapMs},
              {measure.scrollBusyMs, base.scrollBusyMs}, {measure.resizeGapMs, base.resizeGapMs},
              {measure.resizeBusyMs, base.resizeBusyMs}})
            std::printf(" %6.1f / %6.1f", hostile, plain);
        std::printf("\n");
        const bool met = measure.scrollBusyMs <= gapBudgetMs && opensInTime(key.first, key.second, measure, base);
        if (!met)
            std::printf("  over\n");
        withinTargets = withinTargets && met;
    }
    std::printf("targets (GUI thread's CPU): opening within %.0f ms of the ordinary texts, no step over %.0f ms "
                "while scrolling: %s\n",
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
    cases = textCases();
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
