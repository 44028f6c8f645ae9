#include "TestPhotos.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/HostilePhotos.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The program that queues prefetches and quits, in its own process: what
// happens after main matters here.
class ImageCacheExit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_photos.isValid());
        // More photos than pool threads, so that some wait in the queue.
        m_count = std::max(16, 2 * QThread::idealThreadCount());
        for (int i = 0; i < m_count; ++i)
            ASSERT_TRUE(TestPhotos::writeJpeg(m_photos.filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'))),
                                              2400, 1200));
    }

    struct Run
    {
        QProcess::ExitStatus status = QProcess::CrashExit;
        int code = -1;
        QString output;
    };

    Run run(const QStringList &extra = {}) const { return run(m_photos.path(), extra); }

    static Run run(const QString &photos, const QStringList &extra)
    {
        ChildProcess probe;
        QProcessEnvironment environment = ChildProcess::environment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        probe.setProcessEnvironment(environment);
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(QStringLiteral(LUMIVANE_PREFETCH_THEN_QUIT), QStringList{photos} + extra);
        EXPECT_TRUE(probe.waitForFinished(60000));
        return {probe.exitStatus(), probe.exitCode(), QString::fromLocal8Bit(probe.readAll())};
    }

    QTemporaryDir m_photos;
    int m_count = 0;
};

TEST_F(ImageCacheExit, LeavingMainWithPrefetchesQueuedEndsCleanly)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Run quit = run();
        EXPECT_EQ(quit.status, QProcess::NormalExit) << quit.output.toStdString();
        EXPECT_EQ(quit.code, 0) << quit.output.toStdString();
        EXPECT_FALSE(quit.output.contains(QLatin1String("QMutex"))) << quit.output.toStdString();
    }
}

TEST_F(ImageCacheExit, FinishingDropsTheQueueAndWaitsForWhatRuns)
{
    const Run finished = run({QStringLiteral("finish")});
    ASSERT_EQ(finished.code, 0) << finished.output.toStdString();
    const QRegularExpressionMatch counts =
        QRegularExpression(QStringLiteral("queued=(\\d+) idle=(\\d) thumbnails=(\\d+) full=(\\d+)")).match(finished.output);
    ASSERT_TRUE(counts.hasMatch()) << finished.output.toStdString();
    EXPECT_EQ(counts.captured(1).toInt(), m_count);
    EXPECT_EQ(counts.captured(2), QStringLiteral("1"));
    EXPECT_LT(counts.captured(3).toInt(), m_count) << "the photos still queued are not decoded";
    EXPECT_LT(counts.captured(4).toInt(), m_count);
}

TEST_F(ImageCacheExit, FinishingStopsAJpegDecodeUnderWay)
{
    // Most of a second's decode: libjpeg walks 99 scans of 128 million pixels.
    QTemporaryDir slow;
    ASSERT_TRUE(HostilePhotos::write(slow.filePath(QStringLiteral("slow.jpg")),
                                     HostilePhotos::withClaimedSize(HostilePhotos::jpegWithScans(99), QSize(16000, 8000))));
    const Run stopped = run(slow.path(), {QStringLiteral("stop")});
    EXPECT_TRUE(stopped.output.contains(QLatin1String("idle=1"))) << stopped.output.toStdString();
}

} // namespace
