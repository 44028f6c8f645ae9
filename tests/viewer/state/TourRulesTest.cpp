#include "ViewerTestFixture.h"

#include "tests/support/HostileTexts.h"

#include "viewer/state/FeedbackRecipient.h"
#include "viewer/state/ReadAloudText.h"
#include "viewer/state/StationLabels.h"
#include "viewer/state/ViewerLogging.h"

using TestTours::stationID;

namespace {

QMap<int, QString> numbersByStation(const LumivaneProject &project)
{
    QMap<int, QString> numbers;
    const QHash<QUuid, QString> map = stationNumberMap(project);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        numbers.insert(TestTours::stationNumber(it.key()), it.value());
    return numbers;
}

TEST(StationNumberMapTest, CountsPerLevelInStationOrderWithTheStar)
{
    LumivaneProject project = TestTours::tour(6);
    project.floorplanImageData = QByteArray("plan");
    const QList<qint64> order = {30, 10, 90, 20, 5, 5}; // gaps, and a tie kept in project order
    const QList<std::optional<QString>> levels = {"1", "1", "1", std::nullopt, "", std::nullopt};
    for (int i = 0; i < 6; ++i) {
        project.stations[i].orderIndex = order[i];
        project.stations[i].level = levels[i];
    }
    project.startingStationID = stationID(1);
    EXPECT_EQ(numbersByStation(project), (QMap<int, QString>{{1, "★"}, {2, "1"}, {3, "3"}, {4, "3"}, {5, "1"}, {6, "2"}}));

    project.startingStationID = QUuid::createUuid(); // names no station: no star
    EXPECT_EQ(numbersByStation(project).value(1), "2");
    project.showFloorplan = false;
    EXPECT_TRUE(numbersByStation(project).isEmpty());
    project.showFloorplan = true;
    project.floorplanImageData.reset();
    EXPECT_TRUE(numbersByStation(project).isEmpty());
}

TEST_F(ViewerTestFixture, StationsSharingAnIdKeepTheFirstWithOneWarning)
{
    QStringList warnings;
    static QStringList *captured = nullptr;
    captured = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
        if (QLatin1String(context.category) == QLatin1String("lumivane.viewer"))
            captured->append(message);
    });
    LumivaneProject project = TestTours::tour(3);
    Station twin = TestTours::station(2);
    twin.name = "Twin";
    twin.orderIndex = 0;
    project.stations << twin << twin;
    open(project);
    qInstallMessageHandler(previous);

    EXPECT_EQ(warnings.size(), 1);
    EXPECT_EQ(controller->project().stations.size(), 3);
    EXPECT_EQ(controller->orderedStations().size(), 3);
    EXPECT_EQ(controller->stationNameMap().value(stationID(2)), "Station 2");
    EXPECT_EQ(controller->startStation()->id, stationID(1));
}

// The panorama labels its markers with station names of any length: one
// line of each, control characters shown as spaces.
TEST(StationLabelsTest, NamesForLabelsHoldOneLine)
{
    const QList<HostileTexts::Text> hostile = HostileTexts::all();
    LumivaneProject project = TestTours::tour(int(hostile.size()));
    for (qsizetype i = 0; i < hostile.size(); ++i)
        project.stations[i].name = hostile[i].text;
    for (const QString &name : stationNameMap(project)) {
        EXPECT_LE(name.size(), DisplayLength::line + 1);
        EXPECT_FALSE(HostileTexts::hasControlCharacter(name, LineBreaks::asSpaces));
    }
}

TEST(FeedbackRecipientTest, FeedbackAddressThenContactAddressTrimmed)
{
    LumivaneProject project = TestTours::tour(1);
    project.feedbackEmail = " \tfeedback@x.fr\n";
    project.contactFormEmail = "contact@x.fr";
    EXPECT_EQ(feedbackRecipient(project), std::nullopt);
    project.feedbackEnabled = true;
    EXPECT_EQ(feedbackRecipient(project), "feedback@x.fr");
    project.feedbackEmail = " \n";
    EXPECT_EQ(feedbackRecipient(project), "contact@x.fr");
    project.contactFormEmail = "\t";
    EXPECT_EQ(feedbackRecipient(project), std::nullopt);
}

TEST(ReadAloudTextTest, TitleAndDescriptionJoined)
{
    Hotspot hotspot = TestTours::infoHotspot("Salon", "Vue sur mer");
    EXPECT_EQ(readAloudText(hotspot, "fr"), "Salon. Vue sur mer");
    hotspot.infoTitle = " \t ";
    EXPECT_EQ(readAloudText(hotspot, "fr"), "Vue sur mer");
    hotspot.infoTitle.reset();
    hotspot.infoDescriptionTranslations = Translations{{"en", " Sea view "}};
    EXPECT_EQ(readAloudText(hotspot, "en"), "Sea view");
}

TEST_F(ViewerTestFixture, ReadAloudSpeaksAgainAfterATextEndedByItself)
{
    openStarted(TestTours::tour(1));
    const Hotspot first = TestTours::infoHotspot("Salon");
    controller->toggleReadAloud(first);
    effects.readingAloud = false; // the text was read to its end
    controller->toggleReadAloud(first);
    EXPECT_EQ(effects.lines("speak"), QStringList({"speak:Salon|fr", "speak:Salon|fr"}));

    // A reading under way is stopped by the next press, whichever card it is on.
    controller->toggleReadAloud(TestTours::infoHotspot("Cuisine"));
    EXPECT_EQ(effects.lines("speak").size(), 2);
    EXPECT_EQ(effects.log.last(), "speech.stop");

    controller->toggleReadAloud(first);
    controller->showInfoCard(first);
    controller->closeInfoCard();
    EXPECT_EQ(effects.log.last(), "speech.stop");
    EXPECT_FALSE(controller->state().selectedInfoHotspot);
}

} // namespace
