#include "app/package/ArchiveExtractor.h"
#include "tests/app/support/ZipBuilder.h"
#include "tests/support/CaseName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <limits>

namespace {

class ArchiveExtractorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("out"));
    }

    QString archivePath() const { return m_dir.filePath("archive.zip"); }
    QString out(const QString &relative = {}) const { return m_dir.filePath("out/" + relative); }

    ArchiveExtractor::Result extract(const ZipBuilder &zip, ArchiveExtractor::Limits limits = {})
    {
        EXPECT_TRUE(zip.writeTo(archivePath()));
        return ArchiveExtractor(limits).extract(archivePath(), out());
    }

    // Beside the archive and the extraction folder, nothing may appear.
    void expectNothingOutside() const
    {
        const QStringList entries = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                                 | QDir::NoDotAndDotDot);
        EXPECT_EQ(entries, QStringList({"archive.zip", "out"}));
    }

    static mode_t modeOf(const QString &path)
    {
        struct stat status;
        EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
        return status.st_mode;
    }

    static QByteArray contentsOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};

TEST_F(ArchiveExtractorTest, ExtractsFilesAndFoldersWithTheirParents)
{
    ZipBuilder zip;
    zip.addFile("project.json", "{}")
        .add(ZipBuilder::directory("audio"))
        .addFile("audio/A.m4a", QByteArray(70000, 'a'), true)
        .addFile("photos/deep/er/B.jpg", "jpeg")
        .addFile("./photos//C.jpg", "c");
    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(contentsOf(out("project.json")), "{}");
    EXPECT_EQ(contentsOf(out("audio/A.m4a")), QByteArray(70000, 'a'));
    EXPECT_EQ(contentsOf(out("photos/deep/er/B.jpg")), "jpeg");
    EXPECT_EQ(contentsOf(out("photos/C.jpg")), "c");
    expectNothingOutside();
}

TEST_F(ArchiveExtractorTest, ExtractsZip64Archives)
{
    ZipBuilder zip;
    zip.setZip64(true).addFile("a.txt", "stored").addFile("b/c.txt", QByteArray(5000, 'z'), true);
    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(contentsOf(out("a.txt")), "stored");
    EXPECT_EQ(contentsOf(out("b/c.txt")), QByteArray(5000, 'z'));
}

TEST_F(ArchiveExtractorTest, ReadsNamesAsUtf8OnlyWhenFlagged)
{
    ZipBuilder::Member cp437 = ZipBuilder::file("caf\x82.txt", "cp437");
    cp437.utf8 = false;
    ZipBuilder zip;
    zip.add(cp437).add(ZipBuilder::file("th\xc3\xa9.txt", "utf8"));
    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_EQ(contentsOf(out(QString::fromUtf8("café.txt"))), "cp437");
    EXPECT_EQ(contentsOf(out(QString::fromUtf8("thé.txt"))), "utf8");
}

TEST_F(ArchiveExtractorTest, RestoresPermissionsMaskedAndDates)
{
    const QDateTime when(QDate(2023, 2, 3), QTime(4, 5, 6));
    ZipBuilder::Member setuid = ZipBuilder::file("setuid", "x", 04755);
    ZipBuilder::Member readOnly = ZipBuilder::file("readonly", "x", 0444);
    readOnly.modified = when;
    ZipBuilder::Member locked = ZipBuilder::directory("locked", 0555);
    locked.modified = when;
    ZipBuilder::Member dos = ZipBuilder::file("dos", "x");
    dos.unixMode = 0;
    ZipBuilder zip;
    zip.add(setuid).add(readOnly).add(ZipBuilder::file("private", "x", 0640)).add(locked)
        .add(ZipBuilder::file("locked/inner", "x", 0400)).add(ZipBuilder::directory("sticky", 01777)).add(dos);
    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();

    EXPECT_EQ(modeOf(out("setuid")) & 07777, 0755u);
    EXPECT_EQ(modeOf(out("readonly")) & 07777, 0644u);
    EXPECT_EQ(modeOf(out("private")) & 07777, 0640u);
    EXPECT_EQ(modeOf(out("locked")) & 07777, 0755u);
    EXPECT_EQ(modeOf(out("locked/inner")) & 07777, 0600u);
    EXPECT_EQ(modeOf(out("sticky")) & 07777, 0777u);
    EXPECT_EQ(modeOf(out("dos")) & 07777, 0644u);
    EXPECT_EQ(QFileInfo(out("readonly")).lastModified(), when);
    EXPECT_EQ(QFileInfo(out("locked")).lastModified(), when); // set after its contents
    EXPECT_TRUE(QDir(out()).removeRecursively());
}

class RefusedNameTest : public ArchiveExtractorTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(RefusedNameTest, FailsWithoutWritingAnywhere)
{
    ZipBuilder zip;
    zip.addFile("ok.txt", "fine").addFile(GetParam(), "evil");
    const auto result = extract(zip);
    EXPECT_FALSE(result.succeeded);
    EXPECT_FALSE(result.failure.isEmpty());
    expectNothingOutside();
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedNameTest,
                         ::testing::Values("../evil", "a/../../evil", "a/../b", "..", "./../evil", "/tmp/evil",
                                           "C:/evil", "c:evil", "a\\..\\..\\evil", "..\\evil", "", "/"));

TEST_F(ArchiveExtractorTest, RefusesNamesTooLongToRemoveAgain)
{
    ZipBuilder zip;
    zip.addFile(QByteArray(600, 'a') + "/" + QByteArray(600, 'b'), "x");
    ArchiveExtractor::Limits limits;
    EXPECT_FALSE(extract(zip, limits).succeeded);
}

TEST_F(ArchiveExtractorTest, CreatesLinksThatStayInside)
{
    ZipBuilder zip;
    zip.addFile("photos/a.jpg", "jpeg")
        .add(ZipBuilder::symlink("photos/same.jpg", "a.jpg"))
        .add(ZipBuilder::symlink("audio/up.jpg", "../photos/./a.jpg"))
        .add(ZipBuilder::symlink("here", "."));
    const auto result = extract(zip);
    ASSERT_TRUE(result.succeeded) << result.failure.toStdString();
    EXPECT_TRUE(S_ISLNK(modeOf(out("photos/same.jpg"))));
    EXPECT_EQ(contentsOf(out("audio/up.jpg")), "jpeg");
}

class EscapingLinkTest : public ArchiveExtractorTest,
                         public ::testing::WithParamInterface<std::pair<const char *, const char *>>
{
};

TEST_P(EscapingLinkTest, IsRefused)
{
    ZipBuilder zip;
    zip.add(ZipBuilder::symlink(GetParam().first, GetParam().second));
    const auto result = extract(zip);
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.failure.contains("symbolic link")) << result.failure.toStdString();
    expectNothingOutside();
}

INSTANTIATE_TEST_SUITE_P(Targets, EscapingLinkTest,
                         ::testing::Values(std::pair{"up", ".."}, std::pair{"abs", "/etc/passwd"},
                                           std::pair{"a/b", "../../x"}, std::pair{"a/b", "c/../../x"},
                                           std::pair{"a/b", "../c/../x"}, std::pair{"empty", ""}),
                         [](const auto &info) {
                             const QString target = QString::fromUtf8(info.param.second).replace("..", "up");
                             return caseName(QString::fromUtf8(info.param.first) + " to " + target);
                         });

TEST_F(ArchiveExtractorTest, NeverWritesThroughALink)
{
    // "d" -> "." is harmless alone; writing through it must still be refused,
    // or "d/d/..." chains would reach outside.
    ZipBuilder zip;
    zip.add(ZipBuilder::symlink("d", ".")).addFile("d/x", "through the link");
    const auto result = extract(zip);
    EXPECT_FALSE(result.succeeded);
    EXPECT_FALSE(QFileInfo::exists(out("x")));
    expectNothingOutside();

    ZipBuilder overFile;
    overFile.addFile("f", "file").addFile("f/x", "inside a file");
    EXPECT_FALSE(extract(overFile).succeeded);
}

TEST_F(ArchiveExtractorTest, RefusesToOverwrite)
{
    ZipBuilder twice;
    twice.addFile("a.txt", "first").addFile("a.txt", "second");
    EXPECT_FALSE(extract(twice).succeeded);

    // Names that differ only in spelling reach the same file.
    ZipBuilder spelledTwice;
    spelledTwice.addFile("a.txt", "first").addFile("./a.txt", "second");
    const auto result = extract(spelledTwice);
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.failure.contains("already exists")) << result.failure.toStdString();
    EXPECT_EQ(contentsOf(out("a.txt")), "first");
}

TEST_F(ArchiveExtractorTest, RefusesALinkOverAnItem)
{
    ZipBuilder zip;
    zip.addFile("b.txt", "file").add(ZipBuilder::symlink("./b.txt", "c"));
    EXPECT_FALSE(extract(zip).succeeded);
    EXPECT_EQ(contentsOf(out("b.txt")), "file");
}

TEST_F(ArchiveExtractorTest, AcceptsAFolderAfterItsContents)
{
    ZipBuilder zip;
    zip.addFile("photos/a.jpg", "a").add(ZipBuilder::directory("photos")).add(ZipBuilder::directory("./photos"));
    const auto result = extract(zip);
    EXPECT_TRUE(result.succeeded) << result.failure.toStdString();
}

class DamagedMemberTest : public ArchiveExtractorTest,
                          public ::testing::WithParamInterface<std::function<void(ZipBuilder::Member &)>>
{
};

TEST_P(DamagedMemberTest, FailsAndLeavesNoPartialFile)
{
    ZipBuilder::Member member = ZipBuilder::file("photos/big.jpg", QByteArray(3 << 20, 'p'));
    GetParam()(member);
    ZipBuilder zip;
    zip.add(member);
    const auto result = extract(zip);
    EXPECT_FALSE(result.succeeded);
    EXPECT_FALSE(QFileInfo::exists(out("photos/big.jpg")));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DamagedMemberTest,
    ::testing::Values([](ZipBuilder::Member &m) { m.crc = 0x12345678; },
                      [](ZipBuilder::Member &m) { m.crc = 0x12345678, m.deflate = true; },
                      [](ZipBuilder::Member &m) { m.size = 1000, m.deflate = true; },
                      [](ZipBuilder::Member &m) { m.size = 1000; },
                      [](ZipBuilder::Member &m) { m.size = 4 << 20, m.deflate = true; },
                      [](ZipBuilder::Member &m) { m.size = 4 << 20; }),
    [](const auto &info) {
        ZipBuilder::Member damaged;
        info.param(damaged);
        const QString lie = damaged.crc ? QStringLiteral("wrong checksum")
                                        : QStringLiteral("declared size %1").arg(damaged.size.value_or(0));
        return caseName(lie + (damaged.deflate ? " deflated" : " stored"));
    });

TEST_F(ArchiveExtractorTest, CapsMembersAndBytes)
{
    ArchiveExtractor::Limits fewMembers;
    fewMembers.maxMembers = 3;
    ZipBuilder four;
    four.addFile("1", "").addFile("2", "").addFile("3", "").addFile("4", "");
    EXPECT_TRUE(extract(four, fewMembers).failure.contains("members"));

    ArchiveExtractor::Limits fewBytes;
    fewBytes.maxTotalBytes = 1000;
    ZipBuilder twoHalves;
    twoHalves.addFile("a", QByteArray(600, 'a')).addFile("b", QByteArray(600, 'b'), true);
    EXPECT_TRUE(extract(twoHalves, fewBytes).failure.contains("allowed")) << extract(twoHalves, fewBytes).failure.toStdString();

    // A bomb that understates its size is stopped at the declared size.
    ZipBuilder::Member bomb = ZipBuilder::file("bomb", QByteArray(64 << 20, '\0'));
    bomb.deflate = true;
    bomb.size = 500;
    ZipBuilder bombZip;
    bombZip.add(bomb);
    EXPECT_TRUE(extract(bombZip, fewBytes).failure.contains("more bytes"));
}

// Archives that claim sizes they do not hold: what the disk is asked for is
// compared with what it has before anything is written.
class DiskSpaceTest : public ArchiveExtractorTest
{
protected:
    qint64 available() const
    {
        struct statvfs disk;
        EXPECT_EQ(::statvfs(QFile::encodeName(out()).constData(), &disk), 0);
        return qint64(disk.f_bavail) * qint64(disk.f_frsize);
    }

    ArchiveExtractor::Result extractClaiming(qint64 bytes)
    {
        ArchiveExtractor::Limits anySize;
        anySize.maxTotalBytes = std::numeric_limits<qint64>::max();
        ZipBuilder zip;
        zip.addClaiming(bytes);
        return extract(zip, anySize);
    }

    static constexpr qint64 mebibyte = qint64(1) << 20;
};

TEST_F(DiskSpaceTest, MoreThanTheDiskHoldsIsRefusedBeforeWritingWithBothSizes)
{
    const qint64 free = available();
    const auto result = extractClaiming(free + 1024 * mebibyte);
    EXPECT_FALSE(result.succeeded);
    EXPECT_TRUE(result.failure.startsWith("not enough free space: needs ")) << result.failure.toStdString();
    ASSERT_TRUE(result.shortfall);
    EXPECT_GT(result.shortfall->neededBytes, free + 1024 * mebibyte);
    // Other processes write to the same disk meanwhile.
    EXPECT_NEAR(double(result.shortfall->availableBytes), double(free), double(1024 * mebibyte));
    EXPECT_EQ(QDir(out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(DiskSpaceTest, EachMemberTakesWholeBlocks)
{
    // Declared bytes a margin below the free space; small members whose
    // blocks take that margin twice over.
    const qint64 free = available();
    struct statvfs disk;
    ASSERT_EQ(::statvfs(QFile::encodeName(out()).constData(), &disk), 0);
    const qint64 margin = 128 * mebibyte;
    const qint64 smallMembers = margin / qint64(disk.f_frsize);
    if (free < 2 * margin)
        GTEST_SKIP() << "the disk is almost full";
    ArchiveExtractor::Limits anySize;
    anySize.maxTotalBytes = std::numeric_limits<qint64>::max();
    ZipBuilder zip;
    zip.addClaiming(free - margin);
    for (qint64 index = 0; index < smallMembers; ++index)
        zip.addFile(QByteArray::number(index), "s");
    const auto result = extract(zip, anySize);
    ASSERT_TRUE(result.shortfall) << result.failure.toStdString();
    EXPECT_GT(result.shortfall->neededBytes, free + margin / 2);
}

TEST_F(DiskSpaceTest, WhatTheDiskHoldsIsNotRefusedForSpace)
{
    // Within a few hundred megabytes of a full disk, no reserve is held back:
    // the extraction goes on, and here finds the member's lie.
    const qint64 free = available();
    if (free < 400 * mebibyte)
        GTEST_SKIP() << "the disk is almost full";
    const auto result = extractClaiming(free - 200 * mebibyte);
    EXPECT_FALSE(result.shortfall);
    EXPECT_TRUE(result.failure.contains("fewer bytes than it declares")) << result.failure.toStdString();
}

TEST_F(ArchiveExtractorTest, RefusesWhatIsNoArchive)
{
    const ArchiveExtractor extractor;
    EXPECT_FALSE(extractor.extract(m_dir.filePath("missing.zip"), out()).succeeded);

    // Neither a pipe (which could block a reader forever) nor a folder is an archive.
    const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe.lumivane"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    EXPECT_FALSE(extractor.extract(QFile::decodeName(pipe), out()).succeeded);
    EXPECT_FALSE(extractor.extract(m_dir.path(), out()).succeeded);

    QFile empty(archivePath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(extractor.extract(archivePath(), out()).succeeded);

    QFile text(archivePath());
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a zip archive at all, just some text");
    text.close();
    EXPECT_FALSE(extractor.extract(archivePath(), out()).succeeded);

    ZipBuilder zip;
    zip.addFile("a.txt", QByteArray(4000, 'a')).addFile("b.txt", "b");
    QByteArray truncated = zip.build();
    truncated.chop(30);
    QFile cut(archivePath());
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(truncated);
    cut.close();
    EXPECT_FALSE(extractor.extract(archivePath(), out()).succeeded);
}

} // namespace
