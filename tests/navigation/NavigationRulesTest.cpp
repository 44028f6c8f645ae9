#include "TestStations.h"
#include "navigation/CardGridLayout.h"
#include "navigation/FloorplanMarkers.h"
#include "navigation/KeyboardShortcutRows.h"
#include "navigation/LevelRuns.h"
#include "navigation/StationSearch.h"
#include "navigation/TableOfContentsListing.h"
#include "navigation/ThumbStripLayout.h"

#include <QFont>

#include <gtest/gtest.h>

using TestStations::onLevels;
using TestStations::placed;

namespace {

const QString kNfcE = QStringLiteral("Entr\u00e9e");
const QString kNfdE = QStringLiteral("Entre\u0301e");

// Level runs of the strip ---------------------------------------------------

struct RunsCase
{
    const char *name;
    QList<std::optional<QString>> levels;
    QList<LevelRun> runs;
    bool multipleLevels;
};

class LevelRunsTest : public ::testing::TestWithParam<RunsCase>
{
};

TEST_P(LevelRunsTest, cutsWhereTheLevelChanges)
{
    const QList<Station> stations = onLevels(GetParam().levels);
    EXPECT_EQ(levelRuns(stations), GetParam().runs);
    EXPECT_EQ(hasMultipleLevels(stations), GetParam().multipleLevels);
}

INSTANTIATE_TEST_SUITE_P(
    Strip, LevelRunsTest,
    ::testing::Values(
        RunsCase{"noStations", {}, {}, false},
        RunsCase{"noLevels", {std::nullopt, std::nullopt}, {{"", 0, 2}}, false},
        RunsCase{"oneLevel", {"A", "A", "A"}, {{"A", 0, 3}}, false},
        RunsCase{"levelComesBack", {"A", "A", "B", "A"}, {{"A", 0, 2}, {"B", 2, 1}, {"A", 3, 1}}, true},
        RunsCase{"absentAndEmptyShareARun", {"A", std::nullopt, "", "A"}, {{"A", 0, 1}, {"", 1, 2}, {"A", 3, 1}}, true},
        RunsCase{"canonicallyEqualLevels", {kNfcE, kNfdE}, {{kNfcE, 0, 2}}, false},
        RunsCase{"spacesAndCaseCount", {" A", "A", "a"}, {{" A", 0, 1}, {"A", 1, 1}, {"a", 2, 1}}, true}),
    [](const auto &info) { return std::string(info.param.name); });

struct StripCase
{
    const char *name;
    QList<std::optional<QString>> levels;
    QStringList captions;
    int separators;
    double height;
};

class ThumbStripLayoutTest : public ::testing::TestWithParam<StripCase>
{
};

TEST_P(ThumbStripLayoutTest, captionsSeparatorsAndHeightFollowTheLevels)
{
    const QFontMetricsF metrics{QFont()};
    const ThumbStripLayout layout = layoutThumbStrip(onLevels(GetParam().levels), "Other", metrics, 12);
    QStringList captions;
    for (const ThumbStripCaption &caption : layout.captions)
        captions.append(caption.text);
    EXPECT_EQ(captions, GetParam().captions);
    EXPECT_EQ(layout.separators.size(), GetParam().separators);
    EXPECT_EQ(layout.height, GetParam().height);
    ASSERT_EQ(layout.cells.size(), GetParam().levels.size());
    for (const ThumbStripCell &cell : layout.cells)
        EXPECT_EQ(cell.thumbnail.size(), QSizeF(110, 62));
    for (qsizetype i = 1; i < layout.cells.size(); ++i)
        EXPECT_GE(layout.cells[i].thumbnail.left(), layout.cells[i - 1].thumbnail.right() + 10);
}

INSTANTIATE_TEST_SUITE_P(
    Strip, ThumbStripLayoutTest,
    ::testing::Values(StripCase{"empty", {}, {}, 0, 92},
                      StripCase{"oneLevel", {"A", "A"}, {}, 0, 92},
                      StripCase{"noLevels", {std::nullopt, ""}, {}, 0, 92},
                      StripCase{"levelComesBack", {"A", "A", "B", "A"}, {"A", "B", "A"}, 2, 108},
                      StripCase{"noLevelIsOther", {"A", std::nullopt, ""}, {"A", "Other"}, 1, 108}),
    [](const auto &info) { return std::string(info.param.name); });

// Cards of the table of contents ---------------------------------------------

struct GridCase
{
    const char *name;
    double width;
    int columns;
    double columnWidth;
};

class CardGridLayoutTest : public ::testing::TestWithParam<GridCase>
{
};

TEST_P(CardGridLayoutTest, fitsColumnsOf180To220)
{
    const CardGridLayout layout = layoutCardGrid({{std::nullopt, {0, 1, 2, 3, 4, 5, 6}}}, GetParam().width, 16, 15);
    EXPECT_EQ(layout.columns, GetParam().columns);
    EXPECT_DOUBLE_EQ(layout.columnWidth, GetParam().columnWidth);
    // Centred rows: the margins left and right of the first row are equal.
    const double left = layout.cards.first().rect.left();
    const double right = GetParam().width - layout.cards[std::min(layout.columns, 7) - 1].rect.right();
    EXPECT_NEAR(left, right, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(TableOfContents, CardGridLayoutTest,
                         ::testing::Values(GridCase{"narrowerThanOneColumn", 200, 1, 152},
                                           GridCase{"oneColumnAtMost220", 300, 1, 220},
                                           GridCase{"twoColumnsShareTheWidth", 450, 2, 194},
                                           GridCase{"fiveColumnsInTheWidestPanel", 1100, 5, 199.2}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CardGridLayout, headingsAboveTheirRowsAndSectionsThirtyApart)
{
    const CardGridLayout layout =
        layoutCardGrid({{"A", {0, 1, 2, 3, 4, 5}}, {"B", {6}}}, 1100, 16, 15);
    ASSERT_EQ(layout.headings.size(), 2);
    ASSERT_EQ(layout.cards.size(), 7);
    EXPECT_EQ(layout.cards[0].rect.top(), layout.headings[0].rect.bottom() + 12);
    EXPECT_EQ(layout.cards[5].rect.top(), layout.cards[0].rect.bottom() + 14) << "second row";
    EXPECT_EQ(layout.headings[1].rect.top(), layout.cards[5].rect.bottom() + 30);
    EXPECT_EQ(layout.contentHeight, layout.cards[6].rect.bottom() + 24);
}

// Search of the table of contents -------------------------------------------

struct SearchCase
{
    const char *name;
    QString query;
    QList<int> found; // station numbers
};

// 1 "Café" (caption "Vue sur la cour", level "Rez-de-chaussée"),
// 2 "Salon" with the English name "Living room" and level "Étage",
// 3 "Bibliothèque" (caption "Søren's shelf"), 4 "Garage", no level.
QList<Station> searchStations()
{
    QList<Station> stations = onLevels({"Rez-de-chaussée", "Étage", "Étage", std::nullopt});
    stations[0].name = QStringLiteral("Café");
    stations[0].publicCaption = QStringLiteral("Vue sur la cour");
    stations[1].name = QStringLiteral("Salon");
    stations[1].nameTranslations = Translations{{"en", " Living room "}};
    stations[2].name = QStringLiteral("Bibliothèque");
    stations[2].publicCaption = QStringLiteral("Søren's shelf");
    stations[3].name = QStringLiteral("Garage");
    return stations;
}

class StationSearchTest : public ::testing::TestWithParam<SearchCase>
{
};

TEST_P(StationSearchTest, foldsAccentsAndCase)
{
    const StationSearchIndex index(searchStations(), QStringLiteral("en"));
    QList<int> found;
    for (const qsizetype position : index.matches(GetParam().query))
        found.append(int(position) + 1);
    EXPECT_EQ(found, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    TableOfContents, StationSearchTest,
    ::testing::Values(SearchCase{"emptyQuery", "", {1, 2, 3, 4}},
                      SearchCase{"onlySpacesAndTabs", " \t\u00a0", {1, 2, 3, 4}},
                      SearchCase{"withoutAccent", "cafe", {1}},
                      SearchCase{"capitalsWithAccent", "CAFÉ", {1}},
                      SearchCase{"decomposedAccent", "CAFE\u0301", {1}},
                      SearchCase{"surroundingSpacesTrimmed", "  \tcafé ", {1}},
                      SearchCase{"lineBreakNotTrimmed", "cafe\n", {}},
                      SearchCase{"byCaption", "cour", {1}},
                      SearchCase{"byStrokedLetter", "soren", {3}},
                      SearchCase{"byRawLevel", "etage", {2, 3}},
                      SearchCase{"byVisitorLanguageName", "living", {2}},
                      SearchCase{"notByTheOtherLanguageName", "salon", {}},
                      SearchCase{"substringAnywhere", "thequ", {3}},
                      SearchCase{"nothing", "piscine", {}}),
    [](const auto &info) { return std::string(info.param.name); });

// Count line ----------------------------------------------------------------

struct CountCase
{
    const char *name;
    qsizetype total;
    qsizetype found;
    bool queryIsEmpty;
    QString english;
    QString french;
};

class StationCountTextTest : public ::testing::TestWithParam<CountCase>
{
};

TEST_P(StationCountTextTest, readsAsTheCaseSays)
{
    L10n l10n({QStringLiteral("en")});
    l10n.setCurrent(L10n::Language::english);
    const CountCase &c = GetParam();
    EXPECT_EQ(stationCountText(l10n, c.total, c.found, c.queryIsEmpty), c.english);
    l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(stationCountText(l10n, c.total, c.found, c.queryIsEmpty), c.french);
}

INSTANTIATE_TEST_SUITE_P(
    TableOfContents, StationCountTextTest,
    ::testing::Values(
        CountCase{"noStations", 0, 0, true, "0 stations", "0 stations"},
        CountCase{"oneStation", 1, 1, true, "1 station", "1 station"},
        CountCase{"noQuery", 12, 12, true, "12 stations", "12 stations"},
        CountCase{"everyStationFound", 12, 12, false, "12 stations", "12 stations"},
        CountCase{"oneFound", 12, 1, false, "1 station found out of 12", "1 station trouvée sur 12"},
        CountCase{"someFound", 12, 3, false, "3 stations found out of 12", "3 stations trouvées sur 12"},
        CountCase{"noneFound", 12, 0, false, "0 stations found out of 12", "0 stations trouvées sur 12"}),
    [](const auto &info) { return std::string(info.param.name); });

// Sections ------------------------------------------------------------------

struct SectionsCase
{
    const char *name;
    QList<std::optional<QString>> levels;
    QList<qsizetype> chosen;
    QList<LevelSection> sections;
};

class LevelSectionsTest : public ::testing::TestWithParam<SectionsCase>
{
};

TEST_P(LevelSectionsTest, groupsByTrimmedLevelInFirstSeenOrder)
{
    const QList<Station> stations = onLevels(GetParam().levels);
    EXPECT_EQ(levelSections(stations, GetParam().chosen, QStringLiteral("No level")), GetParam().sections);
}

INSTANTIATE_TEST_SUITE_P(
    TableOfContents, LevelSectionsTest,
    ::testing::Values(
        SectionsCase{"none", {"A"}, {}, {}},
        SectionsCase{"firstSeenOrder", {"B", "A", "B", "A"}, {0, 1, 2, 3}, {{"B", {0, 2}}, {"A", {1, 3}}}},
        SectionsCase{"trimmedButCaseCounts",
                     {" Ground", "Ground\t", "ground"},
                     {0, 1, 2},
                     {{"Ground", {0, 1}}, {"ground", {2}}}},
        SectionsCase{"blankAbsentAndNamedNoLevelShareOneGroup",
                     {std::nullopt, " ", "A", "No level"},
                     {0, 1, 2, 3},
                     {{"No level", {0, 1, 3}}, {"A", {2}}}},
        SectionsCase{"canonicallyEqual", {kNfdE, kNfcE}, {0, 1}, {{kNfdE, {0, 1}}}},
        SectionsCase{"onlyChosenStations", {"A", "B", "A"}, {1, 2}, {{"B", {1}}, {"A", {2}}}}),
    [](const auto &info) { return std::string(info.param.name); });

// Floor-plan markers --------------------------------------------------------

struct MarkersCase
{
    const char *name;
    QList<Station> stations;
    std::optional<QUuid> start;
    std::optional<int> current;        // station number
    QList<QPair<int, QString>> labels; // station number and label, drawing order
};

class FloorplanMarkersTest : public ::testing::TestWithParam<MarkersCase>
{
};

TEST_P(FloorplanMarkersTest, numbersTheLevelInStationOrder)
{
    const MarkersCase &c = GetParam();
    std::optional<Station> current;
    for (const Station &station : c.stations) {
        if (c.current && TestTours::stationNumber(station.id) == *c.current)
            current = station;
    }
    QList<QPair<int, QString>> labels;
    for (const FloorplanMarker &marker : floorplanMarkers(c.stations, c.start, current)) {
        const Station &station = c.stations[marker.stationIndex];
        labels.append({TestTours::stationNumber(station.id), marker.label});
        EXPECT_EQ(marker.isCurrent, current && current->id == station.id);
        EXPECT_EQ(marker.isStart, c.start == station.id);
        EXPECT_EQ(marker.position, QPointF(*station.floorplanX, *station.floorplanY));
    }
    EXPECT_EQ(labels, c.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Floorplan, FloorplanMarkersTest,
    ::testing::Values(
        MarkersCase{"orderIndexOrder",
                    {placed(1, "A", 5), placed(2, "A", 1), placed(3, "A", 3)},
                    std::nullopt, 1,
                    {{2, "1"}, {3, "2"}, {1, "3"}}},
        MarkersCase{"unplacedStationKeepsItsNumber",
                    {placed(1, "A", 5), placed(2, "A", 1), placed(3, "A", 3, std::nullopt)},
                    std::nullopt, 2,
                    {{2, "1"}, {1, "3"}}},
        MarkersCase{"starForTheNamedStartCurrentOrNot",
                    {placed(1, "A", 1), placed(2, "A", 2), placed(3, "A", 3)},
                    TestTours::stationID(2), 2,
                    {{1, "1"}, {2, "★"}, {3, "3"}}},
        MarkersCase{"otherLevelsLeftOut",
                    {placed(1, "A", 1), placed(2, " A", 2), placed(3, "B", 3), placed(4, "A", 4)},
                    TestTours::stationID(3), 4,
                    {{1, "1"}, {4, "2"}}},
        MarkersCase{"absentAndEmptyLevelAreOne",
                    {placed(1, std::nullopt, 1), placed(2, "", 2), placed(3, "A", 3)},
                    std::nullopt, 2,
                    {{1, "1"}, {2, "2"}}},
        MarkersCase{"noCurrentStationShowsTheEmptyLevel",
                    {placed(1, "A", 1), placed(2, std::nullopt, 2)},
                    std::nullopt, std::nullopt,
                    {{2, "1"}}}),
    [](const auto &info) { return std::string(info.param.name); });

// Keyboard help card --------------------------------------------------------

using Key = L10n::Key;

struct CardRow
{
    Key section;
    QStringList keys;
    Key description;
};

// Every row the card can show, in display order: the one place to change
// when a row changes.
const QList<CardRow> kCardRows{
    {Key::sectionNavigation, {"Ctrl", "←"}, Key::cheatsheetStationPrev},
    {Key::sectionNavigation, {"Ctrl", "→"}, Key::cheatsheetStationNext},
    {Key::sectionNavigation, {"Ctrl", "H"}, Key::cheatsheetStationBackHome},
    {Key::sectionNavigation, {"T"}, Key::cheatsheetTOC},
    {Key::sectionDisplay, {"I"}, Key::cheatsheetInfoPanel},
    {Key::sectionDisplay, {"+"}, Key::cheatsheetZoomIn},
    {Key::sectionDisplay, {"–"}, Key::cheatsheetZoomOut},
    {Key::sectionDisplay, {"R"}, Key::cheatsheetLevelHorizon},
    {Key::sectionSlideshow, {"Espace"}, Key::cheatsheetPlayPause},
    {Key::sectionGeneral, {"?"}, Key::cheatsheetShowHelp},
    {Key::sectionGeneral, {"Esc"}, Key::cheatsheetCloseAll},
};

struct CheatsheetCase
{
    const char *name;
    bool isClassicMode;
    bool hasKiosk;
    bool hasTableOfContentsKey;
    QList<Key> leftOut; // descriptions of the rows the card does not show
};

// The card as text, in English: each section's title, then its rows.
std::string cardText(const QList<ShortcutSection> &sections)
{
    L10n l10n({QStringLiteral("en")});
    l10n.setCurrent(L10n::Language::english);
    QStringList lines;
    for (const ShortcutSection &section : sections) {
        lines.append(l10n.text(section.title));
        for (const ShortcutRow &row : section.rows)
            lines.append(QStringLiteral("  %1 = %2").arg(row.keys.join(' '), l10n.text(row.description)));
    }
    return lines.join('\n').toStdString();
}

class ShortcutSectionsTest : public ::testing::TestWithParam<CheatsheetCase>
{
};

TEST_P(ShortcutSectionsTest, showsTheRowsTrueForTheTour)
{
    const CheatsheetCase &c = GetParam();
    QList<ShortcutSection> expected;
    for (const CardRow &row : kCardRows) {
        if (c.leftOut.contains(row.description))
            continue;
        if (expected.isEmpty() || expected.last().title != row.section)
            expected.append({row.section, {}});
        expected.last().rows.append({row.keys, row.description});
    }
    EXPECT_EQ(cardText(shortcutSections(c.isClassicMode, c.hasKiosk, c.hasTableOfContentsKey)), cardText(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cheatsheet, ShortcutSectionsTest,
    ::testing::Values(
        CheatsheetCase{"classicWithoutKiosk", true, false, true, {Key::cheatsheetLevelHorizon, Key::cheatsheetPlayPause}},
        CheatsheetCase{"panoramaWithKiosk", false, true, true, {}},
        CheatsheetCase{"fewerThanFourStations", false, false, false, {Key::cheatsheetTOC, Key::cheatsheetPlayPause}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ShortcutSections, commandIsControlAndEscapeClosesThePanels)
{
    const QList<ShortcutSection> sections = shortcutSections(false, true, true);
    EXPECT_EQ(sections.first().rows.first().keys, (QStringList{"Ctrl", "←"}));
    EXPECT_EQ(sections.last().rows.last().description, Key::cheatsheetCloseAll);
}

} // namespace
