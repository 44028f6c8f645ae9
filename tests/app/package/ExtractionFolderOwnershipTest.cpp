#include "app/package/FileDescriptor.h"
#include "app/package/LumivaneExtractionFolder.h"
#include "app/package/LumivaneImportedTour.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Run once, by the next lock taken in this process after it is set.
std::function<void()> afterNextLock;

} // namespace

// The system's flock(), which runs afterNextLock once it succeeds: a step
// squeezed in between a cleaner's check of a folder and its deletion.
extern "C" int flock(int fd, int operation) noexcept
{
    using Flock = int (*)(int, int);
    static const auto system = reinterpret_cast<Flock>(::dlsym(RTLD_NEXT, "flock"));
    const int result = system(fd, operation);
    if (result == 0 && afterNextLock)
        std::exchange(afterNextLock, {})();
    return result;
}

namespace {

// Viewers sharing one temporary folder: other processes own their folders
// there (a small program that holds one until its input closes).
class ExtractionFolderOwnershipTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_temp.isValid()); }

    struct Owner
    {
        QProcess *process;
        QString folder;
    };

    Owner startOwner()
    {
        auto process = std::make_unique<ChildProcess>();
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

    // A folder whose owner went without a trace: its lock file, unlocked.
    QString abandoned(const QString &name) const
    {
        const QString folder = made(name);
        EXPECT_TRUE(QFile(folder + "/" + LumivaneExtractionFolder::lockFileName()).open(QIODevice::WriteOnly));
        return folder;
    }

    QTemporaryDir m_temp;
    std::vector<std::unique_ptr<ChildProcess>> m_owners; // killed before their folders go
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
    const QString otherCase = abandoned("Lumivane-Import-other");

    killed.process->kill(); // as SIGKILL or a power cut: no clean-up runs
    ASSERT_TRUE(killed.process->waitForFinished(5000));
    EXPECT_TRUE(QFileInfo(killed.folder).isDir());

    EXPECT_EQ(removeAbandoned(), 1);
    EXPECT_FALSE(QFileInfo::exists(killed.folder));
    EXPECT_TRUE(QFileInfo(alive.folder + "/photos/partial.jpg").isFile());
    EXPECT_TRUE(QFileInfo(own.url().toLocalFile() + "photos").isDir());
    EXPECT_TRUE(QFileInfo(unmarked).isDir());
    EXPECT_TRUE(QFileInfo(other).isDir());
    EXPECT_TRUE(QFileInfo(otherCase).isDir());
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

TEST_F(ExtractionFolderOwnershipTest, TheOwnerHoldsItsLockUntilItsFolderIsGone)
{
    const QString path = made("lumivane-import-busy");
    for (int index = 0; index < 500; ++index)
        ASSERT_TRUE(QFile(path + "/photos/" + QString::number(index)).open(QIODevice::WriteOnly));
    LumivaneExtractionFolder owner(path);
    const QByteArray lockPath = QFile::encodeName(path + "/" + LumivaneExtractionFolder::lockFileName());
    const FileDescriptor lock(::open(lockPath.constData(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(lock.isValid());

    // As another cleaner would: the first moment the lock is free.
    std::atomic<bool> freedBeforeGone = false;
    std::thread cleaner([&] {
        while (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
            std::this_thread::yield();
        freedBeforeGone = QFileInfo::exists(path);
    });
    owner.remove();
    cleaner.join();
    EXPECT_FALSE(freedBeforeGone);
}

TEST_F(ExtractionFolderOwnershipTest, AFolderSwappedForALinkLeavesWhatTheLinkNamesAlone)
{
    const QString folder = abandoned("lumivane-import-swapped");
    const QString elsewhere = made("elsewhere");
    ASSERT_TRUE(QFile(elsewhere + "/photos/keep.jpg").open(QIODevice::WriteOnly));
    afterNextLock = [&] {
        ASSERT_TRUE(QDir().rename(folder, folder + ".aside"));
        ASSERT_TRUE(QFile::link(elsewhere, folder));
    };

    EXPECT_EQ(removeAbandoned(), 0);
    EXPECT_FALSE(afterNextLock) << "the sweep took no lock";
    EXPECT_TRUE(QFileInfo(elsewhere + "/photos/keep.jpg").isFile());
}

TEST_F(ExtractionFolderOwnershipTest, ALinkInsideAnAbandonedFolderGoesAndWhatItNamesStays)
{
    const QString folder = abandoned("lumivane-import-linking");
    const QString elsewhere = made("elsewhere");
    ASSERT_TRUE(QFile(elsewhere + "/photos/keep.jpg").open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(elsewhere, folder + "/photos/linked"));

    EXPECT_EQ(removeAbandoned(), 1);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo(elsewhere + "/photos/keep.jpg").isFile());
}

TEST_F(ExtractionFolderOwnershipTest, AnotherUsersAbandonedFolderStays)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    const QString folder = abandoned("lumivane-import-others");
    const uid_t other = 4242;
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), other, other), 0);

    EXPECT_EQ(removeAbandoned(), 0);
    EXPECT_TRUE(QFileInfo(folder + "/photos").isDir());
}

} // namespace
