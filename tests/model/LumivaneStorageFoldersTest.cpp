#include "model/LumivaneStorageFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The Documents folder is not redirected by the test mode of the standard
// paths: a home of its own keeps the user's Documents untouched.
class LumivaneStorageFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_savedHome = qgetenv("HOME");
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void TearDown() override
    {
        qputenv("HOME", m_savedHome);
        if (!m_savedConfig.isEmpty())
            qputenv("XDG_CONFIG_HOME", m_savedConfig);
        QSettings().remove(LumivaneStorageFolders::useICloudSettingsKey);
    }

    QString projects() const { return m_home.filePath("Documents/Lumivane/Projets"); }

    QTemporaryDir m_home;
    QByteArray m_savedHome;
    QByteArray m_savedConfig;
    const QUuid m_id = QUuid::fromString(QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d"));
};

TEST_F(LumivaneStorageFoldersTest, AttachmentsAndAudioFoldersLieUnderDocumentsAndAreCreated)
{
    const QString project = projects() + "/0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D";
    EXPECT_EQ(QDir::cleanPath(LumivaneStorageFolders::attachmentsFolder(m_id).toLocalFile()), project + "/attachments");
    EXPECT_EQ(QDir::cleanPath(LumivaneStorageFolders::audioFolder(m_id).toLocalFile()), project + "/audio");
    EXPECT_TRUE(QFileInfo(project + "/attachments").isDir());
    EXPECT_TRUE(QFileInfo(project + "/audio").isDir());
}

TEST_F(LumivaneStorageFoldersTest, ProjectFolderCreatesOnlyTheRoot)
{
    const QUrl folder = LumivaneStorageFolders::projectFolder(m_id);
    EXPECT_EQ(QDir::cleanPath(folder.toLocalFile()), projects() + "/0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
    EXPECT_TRUE(QFileInfo(projects()).isDir());
    EXPECT_FALSE(QFileInfo::exists(folder.toLocalFile()));
}

TEST_F(LumivaneStorageFoldersTest, CloudChoiceWithoutContainerUsesTheLocalRoot)
{
    QSettings().setValue(LumivaneStorageFolders::useICloudSettingsKey, true);
    EXPECT_FALSE(LumivaneStorageFolders::iCloudContainerURL().has_value());
    EXPECT_FALSE(LumivaneStorageFolders::isICloudEnabled());
    EXPECT_FALSE(LumivaneStorageFolders::iCloudProjectsFolderURL().has_value());
    EXPECT_TRUE(QDir::cleanPath(LumivaneStorageFolders::projectFolder(m_id).toLocalFile()).startsWith(projects()));
}

} // namespace
