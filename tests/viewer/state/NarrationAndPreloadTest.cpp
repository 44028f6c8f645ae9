#include "ViewerTestFixture.h"

#include "model/LumivaneStorageFolders.h"

#include <QDir>
#include <QFile>

using TestTours::stationID;

namespace {

// Narration of station 1 without or with a resolver, against real files in
// the project's storage folder (under the test's own home). The interface
// language is French.
struct NarrationCase
{
    const char *name;
    bool resolverGiven;
    bool resolverAnswers;
    QString namedLanguage; // the station's entry in audioCommentFilenamesByLang
    bool languageFileExists;
    bool baseNamed;
    bool baseFileExists;
    bool available;
    QString played; // the file played, or "stop"
};

class NarrationTest : public ViewerTestFixture, public ::testing::WithParamInterface<NarrationCase>
{
protected:
    static void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

TEST_P(NarrationTest, FindsTheStationsFile)
{
    const NarrationCase &c = GetParam();
    LumivaneProject project = TestTours::tour(1);
    project.id = QUuid::createUuid();
    Station &station = project.stations[0];
    if (!c.namedLanguage.isEmpty())
        station.audioCommentFilenamesByLang = Translations{{c.namedLanguage, "x.m4a"}};
    if (c.baseNamed)
        station.audioCommentFilename = "x.m4a";
    const QString audio = QDir(LumivaneStorageFolders::audioFolder(project.id).toLocalFile()).path();
    const QString file = stationID(1).toString(QUuid::WithoutBraces).toUpper() + ".m4a";
    if (c.languageFileExists)
        touch(audio + "/" + c.namedLanguage + "/" + file);
    if (c.baseFileExists)
        touch(audio + "/" + file);
    ViewerTour tour;
    if (c.resolverGiven)
        tour.audioURLResolver = [&c](const QUuid &) -> std::optional<QUrl> {
            return c.resolverAnswers ? std::optional<QUrl>(QUrl::fromLocalFile("/package/audio/resolved.m4a"))
                                     : std::nullopt;
        };
    open(project, tour);

    EXPECT_EQ(controller->stationHasNarration(stationID(1)), c.available);
    controller->toggleStationNarration(stationID(1)); // the audio guide, nothing playing yet
    const QString expected = c.played == "stop" ? "narration.stop" : "narration.play:" + c.played;
    EXPECT_EQ(effects.log, QStringList({expected}));
}

const QString base = TestTours::stationID(1).toString(QUuid::WithoutBraces).toUpper();

INSTANTIATE_TEST_SUITE_P(
    Files, NarrationTest,
    ::testing::Values(
        NarrationCase{"ResolverAnswer", true, true, "", false, false, false, true, "resolved"},
        NarrationCase{"ResolverSilentStillPlaysStorage", true, false, "fr", true, false, false, false, base},
        NarrationCase{"LanguageFile", false, false, "fr", true, false, false, true, base},
        NarrationCase{"BaseFileAfterMissingLanguageFile", false, false, "fr", false, true, true, true, base},
        NarrationCase{"OtherLanguageTestsBaseOnly", false, false, "en", true, true, false, false, base},
        NarrationCase{"NamedButMissingBaseIsPlayedAnyway", false, false, "", false, true, false, false, base},
        NarrationCase{"NothingNamed", false, false, "", false, false, true, false, "stop"}),
    [](const auto &info) { return std::string(info.param.name); });

class LanguageChangeTest : public ViewerTestFixture
{
protected:
    void openWithNarration(std::optional<QString> password)
    {
        LumivaneProject project = TestTours::tour(2);
        project.tourPassword = password;
        ViewerTour tour;
        tour.audioURLResolver = [](const QUuid &id) -> std::optional<QUrl> {
            return QUrl::fromLocalFile(QStringLiteral("/audio/%1.m4a").arg(TestTours::stationNumber(id)));
        };
        open(project, tour);
        controller->handleViewerAppear();
        effects.log.clear();
    }
};

TEST_F(LanguageChangeTest, OnTheCoverStartsTheStartStationsNarration)
{
    openWithNarration(std::nullopt);
    controller->interfaceLanguageChanged();
    EXPECT_EQ(effects.log, QStringList({"narration.stop", "narration.play:1"}));
}

TEST_F(LanguageChangeTest, OnThePasswordGateStartsNothing)
{
    openWithNarration(QString(" "));
    controller->interfaceLanguageChanged();
    EXPECT_EQ(effects.log, QStringList({"narration.stop"}));
    controller->unlockTour();
    controller->interfaceLanguageChanged();
    EXPECT_EQ(effects.lines("narration.play"), QStringList({"narration.play:1"}));
}

TEST_F(LanguageChangeTest, AudioGuideTogglesAndAMoveStopsIt)
{
    openWithNarration(std::nullopt);
    controller->toggleStationNarration(stationID(1));
    controller->toggleStationNarration(stationID(1));
    go(2); // outside the kiosk tour a move stops narration
    EXPECT_EQ(effects.log, QStringList({"narration.play:1", "narration.stop", "sound", "narration.stop"}));
}

// Photos fetched ahead from a station: classic tours take the neighbours in
// station order, panorama tours the targets of the navigation hotspots.
// The viewer fetches its station's own photo first as it appears.
TEST_F(ViewerTestFixture, PreloadTargetsFollowTheRenderMode)
{
    const auto prefetched = [this] {
        const QStringList lines = effects.lines("prefetch");
        effects.log.clear();
        return lines;
    };
    LumivaneProject classic = TestTours::tour(5);
    classic.renderMode = RenderMode::classic;
    open(classic);
    controller->handleViewerAppear();
    EXPECT_EQ(prefetched(), QStringList({"prefetch:1", "prefetch:2", "prefetch:3"}));
    controller->startTour();
    go(4);
    effects.log.clear(); // what the move fetches from where it starts
    scheduler.advance(1);
    EXPECT_EQ(prefetched(), QStringList({"prefetch:2", "prefetch:3", "prefetch:5"}));

    LumivaneProject panorama = TestTours::tour(4);
    panorama.stations[0].hotspots = {TestTours::navigationHotspot(3), TestTours::infoHotspot("i"),
                                     TestTours::navigationHotspot(2, true), TestTours::navigationHotspot(4),
                                     TestTours::navigationHotspot(3)};
    ViewerTour withoutPhotoOf4;
    withoutPhotoOf4.photoURLResolver = [](const QUuid &id) -> std::optional<QUrl> {
        if (TestTours::stationNumber(id) == 4)
            return std::nullopt;
        return QUrl::fromLocalFile(QStringLiteral("/photos/%1.jpg").arg(TestTours::stationNumber(id)));
    };
    open(panorama, withoutPhotoOf4);
    controller->handleViewerAppear();
    EXPECT_EQ(prefetched(), QStringList({"prefetch:1", "prefetch:3"}));

    open(TestTours::tour(1));
    controller->handleViewerAppear();
    EXPECT_EQ(effects.lines("prefetch"), QStringList({"prefetch:1"})); // its own photo only
}

} // namespace
