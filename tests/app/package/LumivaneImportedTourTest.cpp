#include "app/package/LumivaneImportedTour.h"
#include "tests/app/support/TourFixtures.h"
#include "tests/app/support/ZipBuilder.h"
#include "tests/support/CaseName.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

using TourFixtures::upperID;

// Every test gets a temporary directory of its own, so that what an opening
// leaves behind can be seen.
class LumivaneImportedTourTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedTemp = qgetenv("TMPDIR");
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("tmp"));
        qputenv("TMPDIR", QFile::encodeName(tempRoot()));
        QSettings().remove(L10n::settingsKey);
    }

    void TearDown() override
    {
        qputenv("TMPDIR", m_savedTemp);
        QSettings().remove(L10n::settingsKey);
    }

    QString tempRoot() const { return m_dir.filePath("tmp"); }
    QStringList leftInTemp() const
    {
        return QDir(tempRoot()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    LumivaneImportedTour::OpenResult open(const ZipBuilder &zip, const LumivaneImportedTour::Limits &limits = {})
    {
        const QString path = m_dir.filePath("tour.lumivane");
        EXPECT_TRUE(zip.writeTo(path));
        return LumivaneImportedTour::open(QUrl::fromLocalFile(path), limits);
    }

    ZipBuilder tour() const
    {
        ZipBuilder zip;
        zip.addFile("project.json", TourFixtures::projectJSON(m_projectID, m_stations), true);
        return zip;
    }

    // What a failed opening must look like: the expected case, and no folder.
    void expectFailure(const LumivaneImportedTour::OpenResult &result, LumivaneImportError::Case expected) const
    {
        ASSERT_FALSE(result);
        ASSERT_TRUE(result.error().importError().has_value()) << result.error().message().toStdString();
        EXPECT_EQ(result.error().importError()->kind(), expected) << result.error().message().toStdString();
        EXPECT_EQ(leftInTemp(), QStringList());
    }

    QTemporaryDir m_dir;
    QByteArray m_savedTemp;
    QUuid m_projectID = QUuid::createUuid();
    QList<QUuid> m_stations{QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid()};
};

TEST_F(LumivaneImportedTourTest, OpensAndMapsPhotosByStationId)
{
    const QUuid a = m_stations[0], b = m_stations[1], c = m_stations[2];
    ZipBuilder zip = tour();
    zip.addFile("photos/" + upperID(a) + ".jpg", "a")
        .addFile("photos/" + upperID(b).toLower() + ".JPEG", "b")
        .addFile("photos/" + upperID(c) + ".png", "c png")
        .addFile("photos/" + upperID(c) + ".jpg", "c jpg")
        .addFile("photos/{" + upperID(a) + "}.jpg", "braces")
        .addFile("photos/cover.jpg", "not a station")
        .addFile("photos/" + upperID(QUuid::createUuid()) + ".tar.gz", "double extension");
    const auto result = open(zip);
    ASSERT_TRUE(result) << result.error().message().toStdString();
    const LumivaneImportedTour &opened = *result;

    EXPECT_EQ(opened.project.id, m_projectID);
    EXPECT_EQ(opened.project.stations.size(), 3);
    const QString folder = opened.extractionFolder.toLocalFile();
    const QString name = QDir(folder).dirName();
    EXPECT_TRUE(name.startsWith("lumivane-import-"));
    EXPECT_EQ(name.size(), 52);
    EXPECT_EQ(name, name.toUpper().replace("LUMIVANE-IMPORT-", "lumivane-import-"));
    EXPECT_EQ(QDir(folder + "/..").canonicalPath(), QDir(tempRoot()).canonicalPath());

    EXPECT_EQ(opened.photoURLs.size(), 3);
    EXPECT_TRUE(opened.photoURLs.value(a).toLocalFile().endsWith(upperID(a) + ".jpg"));
    EXPECT_TRUE(opened.photoURLs.value(b).toLocalFile().endsWith(".JPEG"));
    // Sorted by name, ".png" comes after ".jpg" and wins.
    EXPECT_TRUE(opened.photoURLs.value(c).toLocalFile().endsWith(upperID(c) + ".png"));
}

TEST_F(LumivaneImportedTourTest, OpensWithoutPhotosAndFindsNarration)
{
    ZipBuilder zip = tour();
    zip.addFile("audio/" + upperID(m_stations[0]) + ".m4a", "aac");
    const auto result = open(zip);
    ASSERT_TRUE(result) << result.error().message().toStdString();
    EXPECT_TRUE(result->photoURLs.isEmpty());

    const std::optional<QUrl> narration = result->audioURL(m_stations[0]);
    ASSERT_TRUE(narration.has_value());
    EXPECT_TRUE(narration->toLocalFile().endsWith("/audio/" + upperID(m_stations[0]) + ".m4a"));
    EXPECT_FALSE(result->audioURL(m_stations[1]).has_value());
}

TEST_F(LumivaneImportedTourTest, TheFolderHasOneOwnerAndGoesWithIt)
{
    {
        const auto result = open(tour());
        ASSERT_TRUE(result);
        EXPECT_EQ(leftInTemp().size(), 1);
    }
    EXPECT_EQ(leftInTemp(), QStringList());

    ZipBuilder zip = tour();
    zip.addFile("audio/" + upperID(m_stations[0]) + ".m4a", "aac");
    auto result = open(zip);
    ASSERT_TRUE(result);
    const LumivaneImportedTour copy = *result;
    LumivaneExtractionFolder owner = result.takeFolder();
    LumivaneExtractionFolder moved = std::move(owner);
    owner = LumivaneExtractionFolder(); // moved from: deletes nothing
    EXPECT_TRUE(copy.audioURL(m_stations[0]).has_value());
    moved = LumivaneExtractionFolder(); // replaced: deletes its folder
    EXPECT_FALSE(copy.audioURL(m_stations[0]).has_value());
    EXPECT_EQ(leftInTemp(), QStringList());
}

TEST_F(LumivaneImportedTourTest, FailedExtractionLeavesNoFolder)
{
    ZipBuilder zip = tour();
    zip.addFile("../escape.jpg", "x");
    const auto result = open(zip);
    expectFailure(result, LumivaneImportError::Case::extractionFailed);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("escape.jpg")));

    const QString text = m_dir.filePath("text.lumivane");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain text, no archive");
    file.close();
    expectFailure(LumivaneImportedTour::open(QUrl::fromLocalFile(text)), LumivaneImportError::Case::extractionFailed);
    expectFailure(LumivaneImportedTour::open(QUrl::fromLocalFile(m_dir.filePath("none.lumivane"))),
                  LumivaneImportError::Case::extractionFailed);
}

TEST_F(LumivaneImportedTourTest, PackageLargerThanTheDiskSaysSoAndLeavesNoFolder)
{
    QSettings().setValue(L10n::settingsKey, "en");
    LumivaneImportedTour::Limits anySize;
    anySize.extraction.maxTotalBytes = std::numeric_limits<qint64>::max();
    ZipBuilder zip = tour();
    zip.addClaiming(QStorageInfo(tempRoot()).bytesAvailable() + (qint64(1) << 30));
    const auto result = open(zip, anySize);
    expectFailure(result, LumivaneImportError::Case::extractionFailed);
    EXPECT_TRUE(result.error().message().startsWith("Extraction failed: not enough free space: needs "))
        << result.error().message().toStdString();
}

TEST_F(LumivaneImportedTourTest, ProjectJsonOnlyCountsAtTheRoot)
{
    ZipBuilder nested;
    nested.addFile("tour/project.json", TourFixtures::projectJSON(m_projectID, m_stations));
    expectFailure(open(nested), LumivaneImportError::Case::projectJSONMissing);
}

TEST_F(LumivaneImportedTourTest, UnreadableProjectJsonGivesThePlatformErrorAndNoFolder)
{
    ZipBuilder zip;
    zip.add(ZipBuilder::directory("project.json"));
    const auto result = open(zip);
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.error().importError().has_value());
    EXPECT_FALSE(result.error().message().isEmpty());
    EXPECT_EQ(leftInTemp(), QStringList());
}

TEST_F(LumivaneImportedTourTest, OversizedProjectJsonIsRefused)
{
    LumivaneImportedTour::Limits limits;
    limits.maxProjectJSONBytes = 16;
    expectFailure(open(tour(), limits), LumivaneImportError::Case::extractionFailed);
}

TEST_F(LumivaneImportedTourTest, UndecodableProjectFailsInTheStoredLanguage)
{
    ZipBuilder noName;
    noName.addFile("project.json", R"({"id": ")" + upperID(m_projectID) + R"("})");
    QSettings().setValue(L10n::settingsKey, "fr");
    const auto french = open(noName);
    expectFailure(french, LumivaneImportError::Case::decodeFailed);
    EXPECT_TRUE(french.error().message().startsWith(QString::fromUtf8("Lecture du projet échouée : ")));

    ZipBuilder malformed;
    malformed.addFile("project.json", "{ not json");
    QSettings().setValue(L10n::settingsKey, "en");
    const auto english = open(malformed);
    expectFailure(english, LumivaneImportError::Case::decodeFailed);
    EXPECT_TRUE(english.error().message().startsWith("Could not read the project: "));
}

TEST_F(LumivaneImportedTourTest, UncreatableFolderGivesThePlatformError)
{
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("TMPDIR", QFile::encodeName(blocker.fileName()));
    const auto result = open(tour());
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.error().importError().has_value());
    EXPECT_FALSE(result.error().message().isEmpty());
}

struct MessageCase
{
    LumivaneImportError error;
    const char *language; // nullptr: nothing stored
    const char *expected;
};

class ImportErrorMessageTest : public ::testing::TestWithParam<MessageCase>
{
protected:
    // Sizes come in the system's number format.
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override
    {
        QSettings().remove(L10n::settingsKey);
        QLocale::setDefault(QLocale::system());
    }
};

TEST_P(ImportErrorMessageTest, FollowsTheStoredLanguage)
{
    if (GetParam().language)
        QSettings().setValue(L10n::settingsKey, GetParam().language);
    else
        QSettings().remove(L10n::settingsKey);
    EXPECT_EQ(GetParam().error.errorDescription(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportErrorMessageTest,
    ::testing::Values(
        MessageCase{LumivaneImportError::extractionFailed("Not a zip archive"), "fr", "Extraction échouée : Not a zip archive"},
        MessageCase{LumivaneImportError::extractionFailed("50%@ done %d"), "en", "Extraction failed: 50%@ done %d"},
        MessageCase{LumivaneImportError::decodeFailed("name: missing"), "fr", "Lecture du projet échouée : name: missing"},
        MessageCase{LumivaneImportError::decodeFailed("x"), nullptr, "Could not read the project: x"},
        MessageCase{LumivaneImportError::invalidPackage(), "de", "Invalid .lumivane file."},
        MessageCase{LumivaneImportError::invalidPackage(), "fr", "Fichier .lumivane invalide."},
        MessageCase{LumivaneImportError::projectJSONMissing(), nullptr, "project.json missing from the file."},
        MessageCase{LumivaneImportError::projectJSONMissing(), "fr", "project.json manquant dans le fichier."},
        MessageCase{LumivaneImportError::notEnoughSpace({4800000, 209715200}), "en",
                    "Extraction failed: not enough free space: needs 4.8 MB, 209.7 MB available"},
        MessageCase{LumivaneImportError::notEnoughSpace({4800000, 209715200}), "fr",
                    "Extraction échouée : espace libre insuffisant : il faut 4.8 MB, 209.7 MB disponibles"}),
    [](const auto &info) {
        const char *language = info.param.language ? info.param.language : "unset";
        return caseName(QString::fromUtf8(language) + " " + QString::fromUtf8(info.param.expected));
    });

} // namespace
