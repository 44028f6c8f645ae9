#include "PackageReader.h"

#include "tools/make-sample-tour/ZipPackageWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zip.h>

namespace {

TEST(ZipPackageWriter, WritesStoredDeflatedFileAndFolderMembersThatReadBack)
{
    QTemporaryDir dir;
    const QByteArray text = QByteArray("tour ").repeated(2000);
    const QByteArray fileBytes = QByteArray(100000, '\x5a');
    QFile source(dir.filePath("source.bin"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(fileBytes);
    source.close();

    ZipPackageWriter writer;
    ASSERT_TRUE(writer.open(dir.filePath("out.zip")));
    EXPECT_TRUE(writer.addBytes("project.json", text, ZipPackageWriter::Compression::Deflated));
    EXPECT_TRUE(writer.addDirectory("photos/"));
    EXPECT_TRUE(writer.addFile("photos/été.jpg", source.fileName(), ZipPackageWriter::Compression::Stored));
    ASSERT_TRUE(writer.close()) << qPrintable(writer.errorString());

    const PackageReader package = PackageReader::read(dir.filePath("out.zip"));
    ASSERT_TRUE(package.error.isEmpty()) << qPrintable(package.error);
    EXPECT_EQ(package.names, QStringList({"project.json", "photos/", "photos/été.jpg"}));
    EXPECT_EQ(package.members["project.json"].bytes, text);
    EXPECT_EQ(package.members["project.json"].compressionMethod, ZIP_CM_DEFLATE);
    EXPECT_EQ(package.members["photos/été.jpg"].bytes, fileBytes);
    EXPECT_EQ(package.members["photos/été.jpg"].compressionMethod, ZIP_CM_STORE);
}

TEST(ZipPackageWriter, ReportsFailuresInsteadOfWritingNothingSilently)
{
    QTemporaryDir dir;
    ZipPackageWriter unopened;
    EXPECT_FALSE(unopened.addBytes("a", "b", ZipPackageWriter::Compression::Stored));
    EXPECT_FALSE(unopened.errorString().isEmpty());

    ZipPackageWriter empty;
    ASSERT_TRUE(empty.open(dir.filePath("empty.zip")));
    EXPECT_FALSE(empty.close());
    EXPECT_FALSE(empty.errorString().isEmpty());

    ZipPackageWriter missingFolder;
    const bool opened = missingFolder.open(dir.filePath("no/such/folder/out.zip"));
    EXPECT_FALSE(opened && missingFolder.addBytes("a", "b", ZipPackageWriter::Compression::Stored)
                 && missingFolder.close());
    EXPECT_FALSE(missingFolder.errorString().isEmpty());

    ZipPackageWriter missingSource;
    ASSERT_TRUE(missingSource.open(dir.filePath("out.zip")));
    const bool added = missingSource.addFile("x", dir.filePath("absent.bin"), ZipPackageWriter::Compression::Stored);
    EXPECT_FALSE(added && missingSource.close());
    EXPECT_FALSE(missingSource.errorString().isEmpty());
}

} // namespace
