#include "PackageReader.h"

#include "tests/support/ChildProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zip.h>

namespace {

int runCommand(const QStringList &arguments, QString *output = nullptr)
{
    ChildProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(MAKE_SAMPLE_TOUR), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(MakeSampleTourCommand, WritesABenchmarkTourFromItsOptions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.lumivane");
    QString output;
    ASSERT_EQ(runCommand({"--output", path, "--variant", "classic", "--stations", "4", "--photo-width", "40",
                          "--stored", "--no-media"},
                         &output),
              0)
        << qPrintable(output);
    const PackageReader package = PackageReader::read(path);
    ASSERT_TRUE(package.error.isEmpty()) << qPrintable(package.error);
    const QJsonObject project = QJsonDocument::fromJson(package.members["project.json"].bytes).object();
    EXPECT_EQ(project["stations"].toArray().size(), 4);
    EXPECT_EQ(project["renderMode"], "classic");
    EXPECT_EQ(package.members["project.json"].compressionMethod, ZIP_CM_STORE);
}

TEST(MakeSampleTourCommand, RejectsMissingOrWrongOptions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.lumivane");
    EXPECT_EQ(runCommand({"--variant", "demo"}), 1);
    EXPECT_EQ(runCommand({"--output", path, "--variant", "fancy"}), 1);
    EXPECT_EQ(runCommand({"--output", path, "--photo-width", "8"}), 1);
    EXPECT_EQ(runCommand({"--output", path, "--stations", "many"}), 1);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
