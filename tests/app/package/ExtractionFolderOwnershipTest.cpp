#include "app/package/LumivaneExtractionFolder.h"
#include "app/package/LumivaneImportedTour.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Viewers sharing one temporary folder: other processes own their folders
// there (a small program that holds one until its input closes).
class ExtractionFolderOwnershipTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_temp.isValid()); }

    void TearDown() override
    {
        for (auto &owner : m_owners) {
            owner->kill();
            owner->waitForFinished(5000);
        }
    }

    struct Owner
    {
        QProcess *process;
        QString folder;
    };

    Owner startOwner()
    {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(EXTRACTION_FOLDER_OWNER), {m_temp.path()});
        EXPECT_TRUE(process->waitForStarted(5000));
        EXPECT_TRUE(process->waitForReadyRead(5000));
        const QString folder = QString::fromLocal8Bit(process->readLine().trimmed());
        m_owners.push_back(std::move(process));
        return {m_owners.back().get(), folder};
    }

    int removeAbandoned() const
    {
        return LumivaneExtractionFolder::removeAbandoned(m_temp.path(), LumivaneImportedTour::extractionFolderPrefix());
    }

    QString made(const QString &name) const
    {
        EXPECT_TRUE(QDir(m_temp.path()).mkpath(name + "/photos"));
        return m_temp.filePath(name);
    }

    QTemporaryDir m_temp;
    std::vector<std::unique_ptr<QProcess>> m_owners;
};

TEST_F(ExtractionFolderOwnershipTest, OnlyTheFoldersOfGoneOwnersAreRemoved)
{
    const Owner alive = startOwner();
    const Owner killed = startOwner();
    ASSERT_TRUE(QFileInfo(alive.folder).isDir());
    ASSERT_TRUE(QFileInfo(killed.folder + "/photos/partial.jpg").isFile());
    const LumivaneExtractionFolder own(made("lumivane-import-own"));
    const QString unmarked = made("lumivane-import-unmarked"); // no lock file: its owner cannot be told
    const QString other = made("other-import");

    killed.process->kill(); // as SIGKILL or a power cut: no clean-up runs
    ASSERT_TRUE(killed.process->waitForFinished(5000));
    EXPECT_TRUE(QFileInfo(killed.folder).isDir());

    EXPECT_EQ(removeAbandoned(), 1);
    EXPECT_FALSE(QFileInfo::exists(killed.folder));
    EXPECT_TRUE(QFileInfo(alive.folder + "/photos/partial.jpg").isFile());
    EXPECT_TRUE(QFileInfo(own.url().toLocalFile() + "photos").isDir());
    EXPECT_TRUE(QFileInfo(unmarked).isDir());
    EXPECT_TRUE(QFileInfo(other).isDir());
    EXPECT_EQ(removeAbandoned(), 0);

    // The live owner removes its own folder as it ends.
    alive.process->closeWriteChannel();
    ASSERT_TRUE(alive.process->waitForFinished(5000));
    EXPECT_EQ(alive.process->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(alive.folder));
}

TEST_F(ExtractionFolderOwnershipTest, TheLockMovesWithItsFolder)
{
    const QString path = made("lumivane-import-moved");
    LumivaneExtractionFolder owner(path);
    LumivaneExtractionFolder next(std::move(owner));
    owner = LumivaneExtractionFolder(); // the moved-from owner lets nothing go
    EXPECT_EQ(removeAbandoned(), 0);
    next.remove();
    EXPECT_FALSE(QFileInfo::exists(path));
}

} // namespace
