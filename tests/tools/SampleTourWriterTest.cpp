#include "PackageReader.h"

#include "tools/make-sample-tour/SampleTourWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zip.h>

#include <memory>

namespace {

bool toolInstalled(const char *name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

struct WrittenTour
{
    SampleTourResult result;
    PackageReader package;
    QJsonObject project;
};

WrittenTour writeAndRead(const SampleTourOptions &options, const QTemporaryDir &dir, const QString &name)
{
    WrittenTour tour;
    const QString path = dir.filePath(name);
    tour.result = writeSampleTour(options, path);
    if (!tour.result.ok)
        return tour;
    tour.package = PackageReader::read(path);
    tour.project = QJsonDocument::fromJson(tour.package.members.value("project.json").bytes).object();
    return tour;
}

QString upperId(const QJsonValue &value)
{
    return value.toString().toUpper();
}

QList<QJsonObject> allHotspots(const QJsonObject &project)
{
    QList<QJsonObject> hotspots;
    for (const QJsonValue &station : project["stations"].toArray()) {
        for (const QJsonValue &hotspot : station.toObject()["hotspots"].toArray())
            hotspots.append(hotspot.toObject());
    }
    return hotspots;
}

/// One demo package, written once for all the checks on it.
class DemoTour : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        SampleTourOptions options;
        options.photoWidth = 256;
        s_tour = std::make_unique<WrittenTour>(writeAndRead(options, *s_dir, "demo.lumivane"));
    }
    static void TearDownTestSuite()
    {
        s_tour.reset();
        s_dir.reset();
    }

    const WrittenTour &tour() const { return *s_tour; }
    const QJsonObject &project() const { return s_tour->project; }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static std::unique_ptr<WrittenTour> s_tour;
};

std::unique_ptr<QTemporaryDir> DemoTour::s_dir;
std::unique_ptr<WrittenTour> DemoTour::s_tour;

TEST_F(DemoTour, IsAValidArchiveWithProjectJsonAtTheRoot)
{
    ASSERT_TRUE(tour().result.ok) << qPrintable(tour().result.error);
    ASSERT_TRUE(tour().package.error.isEmpty()) << qPrintable(tour().package.error);
    EXPECT_EQ(tour().package.names, tour().result.members);
    EXPECT_EQ(tour().package.names.first(), "project.json");
    EXPECT_EQ(tour().package.members["project.json"].compressionMethod, ZIP_CM_DEFLATE);
    EXPECT_EQ(project()["name"].toString(), "Maison des Tilleuls");
    EXPECT_EQ(project()["id"].toString(), project()["id"].toString().toUpper());
    EXPECT_FALSE(QUuid::fromString(project()["id"].toString()).isNull());
}

TEST_F(DemoTour, HasSixStationsOrMoreOnTwoLevelsWithPhotosNamedByUpperCaseId)
{
    const QJsonArray stations = project()["stations"].toArray();
    ASSERT_GE(stations.size(), 6);
    QSet<QString> levels;
    QSet<QString> ids;
    for (const QJsonValue &value : stations) {
        const QJsonObject station = value.toObject();
        const QString id = station["id"].toString();
        EXPECT_EQ(id, id.toUpper());
        ids.insert(id);
        if (station.contains("level"))
            levels.insert(station["level"].toString());
        const QString photo = "photos/" + id + ".jpg";
        ASSERT_TRUE(tour().package.members.contains(photo)) << qPrintable(photo);
        const QImage image = QImage::fromData(tour().package.members[photo].bytes, "JPG");
        EXPECT_EQ(image.size(), QSize(256, 128));
        EXPECT_EQ(station["width"].toInt(), 256);
        EXPECT_FALSE(station["nameTranslations"].toObject()["en"].toString().trimmed().isEmpty());
        EXPECT_FALSE(station["publicCaptionTranslations"].toObject()["en"].toString().isEmpty());
        EXPECT_TRUE(station["floorplanX"].isDouble() && station["floorplanY"].isDouble());
    }
    EXPECT_EQ(levels.size(), 2);
    EXPECT_TRUE(ids.contains(project()["startingStationID"].toString()));
    // Every level, and the stations without one, has its own plan.
    const QJsonObject plans = project()["floorplansByLevel"].toObject();
    for (const QString &level : levels)
        EXPECT_TRUE(plans.contains(level)) << qPrintable(level);
    EXPECT_TRUE(plans.contains(""));
}

TEST_F(DemoTour, HotspotsLeadToStationsAndOneIsPending)
{
    QSet<QString> ids;
    for (const QJsonValue &station : project()["stations"].toArray())
        ids.insert(station.toObject()["id"].toString());
    int pending = 0;
    int info = 0;
    for (const QJsonObject &hotspot : allHotspots(project())) {
        EXPECT_TRUE(ids.contains(hotspot["targetStationID"].toString()));
        EXPECT_TRUE(hotspot["kind"] == "navigation" || hotspot["kind"] == "info");
        pending += hotspot["isPending"].toBool() ? 1 : 0;
        info += hotspot["kind"] == "info" ? 1 : 0;
        EXPECT_LE(std::abs(hotspot["yaw"].toDouble()), 3.1416);
        EXPECT_LE(std::abs(hotspot["pitch"].toDouble()), 1.5708);
    }
    EXPECT_EQ(pending, 1);
    EXPECT_GE(info, 3);
}

TEST_F(DemoTour, AttachmentsOfEveryKindAreInThePackage)
{
    QSet<QString> kinds;
    for (const QJsonObject &hotspot : allHotspots(project())) {
        if (hotspot["kind"] != "info")
            continue;
        EXPECT_FALSE(hotspot["infoTitleTranslations"].toObject()["en"].toString().isEmpty());
        for (const QJsonValue &value : hotspot["attachments"].toArray()) {
            const QJsonObject attachment = value.toObject();
            const QString kind = attachment["kind"].toString();
            kinds.insert(kind);
            if (kind != "text" && kind != "link") {
                const QString member = "attachments/" + attachment["payload"].toString();
                ASSERT_TRUE(tour().package.members.contains(member)) << qPrintable(member);
                EXPECT_FALSE(tour().package.members[member].bytes.isEmpty());
            }
        }
    }
    QSet<QString> expected = {"pdf", "image", "text", "link", "sound"};
    if (toolInstalled("ffmpeg"))
        expected.insert("video");
    EXPECT_EQ(kinds, expected);
    for (const QString &name : tour().package.names) {
        if (name.endsWith(".pdf")) {
            EXPECT_TRUE(tour().package.members[name].bytes.startsWith("%PDF"));
        }
    }
}

TEST_F(DemoTour, NarrationIsNamedByUpperCaseStationIdWhenTheToolsExist)
{
    if (!toolInstalled("ffmpeg") || !toolInstalled("espeak-ng"))
        GTEST_SKIP() << "ffmpeg or espeak-ng is not installed";
    for (const QJsonValue &value : project()["stations"].toArray()) {
        const QJsonObject station = value.toObject();
        const QString member = "audio/" + upperId(station["id"]) + ".m4a";
        ASSERT_TRUE(tour().package.members.contains(member)) << qPrintable(member);
        // An MP4 container: "ftyp" after the first box size.
        EXPECT_EQ(tour().package.members[member].bytes.mid(4, 4), "ftyp");
        EXPECT_FALSE(station["audioCommentFilename"].toString().isEmpty());
    }
}

TEST_F(DemoTour, DatesAndEmbeddedDataUseTheEditorsStrictForms)
{
    const QRegularExpression wholeSecondDate("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$");
    EXPECT_TRUE(wholeSecondDate.match(project()["createdAt"].toString()).hasMatch());
    EXPECT_TRUE(wholeSecondDate.match(project()["updatedAt"].toString()).hasMatch());
    EXPECT_TRUE(wholeSecondDate.match(project()["lastPublication"].toObject()["publishedAt"].toString()).hasMatch());
    for (const QJsonValue &station : project()["stations"].toArray())
        EXPECT_TRUE(wholeSecondDate.match(station.toObject()["captureDate"].toString()).hasMatch());

    const auto strictBase64 = [](const QJsonValue &value) {
        const auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        EXPECT_TRUE(decoded.decodingStatus == QByteArray::Base64DecodingStatus::Ok);
        EXPECT_EQ(decoded.decoded.toBase64(), value.toString().toLatin1());
        return decoded.decoded;
    };
    EXPECT_FALSE(QImage::fromData(strictBase64(project()["coverLogoData"])).isNull());
    for (const QJsonValue &plan : project()["floorplansByLevel"].toObject())
        EXPECT_FALSE(QImage::fromData(strictBase64(plan)).isNull());
    EXPECT_FALSE(strictBase64(project()["ambientSoundData"]).isEmpty());
    EXPECT_FALSE(project()["ambientSoundFileName"].toString().isEmpty());
}

TEST_F(DemoTour, CarriesCoverContactFactsAndFormFields)
{
    for (const char *key : {"coverAgencyName", "coverContactPhone", "coverContactEmail", "coverContactWebsite",
                            "coverDescription", "address", "brandingAccentHex", "contactFormEmail"})
        EXPECT_FALSE(project()[key].toString().isEmpty()) << key;
    EXPECT_TRUE(project()["locationLatitude"].isDouble() && project()["locationLongitude"].isDouble());
    EXPECT_TRUE(project()["area"].isDouble());
    EXPECT_EQ(project()["energyClass"], "C");
    EXPECT_EQ(project()["transactionType"], "sale");
    EXPECT_EQ(project()["customFields"].toArray().size(), 3);
    EXPECT_TRUE(project()["contactFormEnabled"].toBool());
    EXPECT_GE(project()["contactFormCustomFields"].toArray().size(), 1);
    EXPECT_FALSE(project().contains("tourPassword"));
    EXPECT_EQ(project()["renderMode"], "immersive");
}

TEST(SampleTourVariants, PasswordAndClassicVariantsSetTheirSwitches)
{
    QTemporaryDir dir;
    SampleTourOptions options;
    options.photoWidth = 64;
    options.externalMedia = false;

    options.variant = SampleTourVariant::Password;
    options.password = "secret";
    const WrittenTour locked = writeAndRead(options, dir, "password.lumivane");
    ASSERT_TRUE(locked.result.ok) << qPrintable(locked.result.error);
    EXPECT_EQ(locked.project["tourPassword"], "secret");

    options.variant = SampleTourVariant::Classic;
    const WrittenTour classic = writeAndRead(options, dir, "classic.lumivane");
    ASSERT_TRUE(classic.result.ok) << qPrintable(classic.result.error);
    EXPECT_EQ(classic.project["renderMode"], "classic");
    const QList<QJsonObject> hotspots = allHotspots(classic.project);
    ASSERT_FALSE(hotspots.isEmpty());
    for (const QJsonObject &hotspot : hotspots) {
        EXPECT_GE(hotspot["yaw"].toDouble(), 0.0);
        EXPECT_LE(hotspot["yaw"].toDouble(), 1.0);
        EXPECT_GE(hotspot["pitch"].toDouble(), 0.0);
        EXPECT_LE(hotspot["pitch"].toDouble(), 1.0);
    }
    // Without the external tools: no narration, and a plain WAV ambience.
    EXPECT_FALSE(classic.package.names.contains("audio/"));
    EXPECT_EQ(classic.project["ambientSoundFileName"], "ambiance.wav");
}

TEST(SampleTourVariants, BenchmarkOptionsMakeManyStoredStations)
{
    QTemporaryDir dir;
    SampleTourOptions options;
    options.stationCount = 23;
    options.photoWidth = 48;
    options.stored = true;
    options.externalMedia = false;
    const WrittenTour tour = writeAndRead(options, dir, "bench.lumivane");
    ASSERT_TRUE(tour.result.ok) << qPrintable(tour.result.error);
    ASSERT_TRUE(tour.package.error.isEmpty()) << qPrintable(tour.package.error);
    const QJsonArray stations = tour.project["stations"].toArray();
    ASSERT_EQ(stations.size(), 23);
    QSet<QString> levels;
    for (const QJsonValue &station : stations)
        levels.insert(station.toObject()["level"].toString());
    EXPECT_EQ(levels.size(), 3);
    for (const QString &name : tour.package.names)
        EXPECT_EQ(tour.package.members[name].compressionMethod, ZIP_CM_STORE) << qPrintable(name);
    for (const QUuid &id : tour.result.stationIds) {
        const QString photo = "photos/" + id.toString(QUuid::WithoutBraces).toUpper() + ".jpg";
        ASSERT_TRUE(tour.package.members.contains(photo));
        EXPECT_EQ(QImage::fromData(tour.package.members[photo].bytes).size(), QSize(48, 24));
    }

    // The same options give the same ids, so benchmarks can refer to them.
    const SampleTourResult again = writeSampleTour(options, dir.filePath("again.lumivane"));
    EXPECT_EQ(again.stationIds, tour.result.stationIds);
    EXPECT_EQ(again.projectId, tour.result.projectId);
}

TEST(SampleTourVariants, AnEnlargedStartPhotoHasHugePixelDimensionsInASmallPackage)
{
    QTemporaryDir dir;
    SampleTourOptions options;
    options.stationCount = 3;
    options.photoWidth = 48;
    options.enlargedStartPhotoWidth = 20000;
    options.externalMedia = false;
    const WrittenTour tour = writeAndRead(options, dir, "enlarged.lumivane");
    ASSERT_TRUE(tour.result.ok) << qPrintable(tour.result.error);
    const QString start = tour.project["startingStationID"].toString();
    int enlarged = 0;
    for (const QString &name : tour.package.names) {
        if (!name.startsWith("photos/") || name.endsWith('/'))
            continue;
        QByteArray bytes = tour.package.members.value(name).bytes;
        QBuffer photo(&bytes);
        const QSize size = QImageReader(&photo).size();
        const bool isStart = name == "photos/" + start + ".jpg";
        EXPECT_EQ(size, isStart ? QSize(20000, 10000) : QSize(48, 24)) << qPrintable(name);
        enlarged += isStart;
    }
    EXPECT_EQ(enlarged, 1);
    EXPECT_LT(QFileInfo(dir.filePath("enlarged.lumivane")).size(), 8 << 20);
}

TEST(SampleTourVariants, AnUnwritableOutputIsReportedAsAFailure)
{
    QTemporaryDir dir;
    SampleTourOptions options;
    options.photoWidth = 32;
    options.externalMedia = false;
    const SampleTourResult result = writeSampleTour(options, dir.filePath("missing/folder/tour.lumivane"));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

} // namespace
