#pragma once

#include "NullSinkRecorder.h"
#include "SoundFixtures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

/// A test that records the null sink while it plays sound files it writes
/// into a folder of its own; skipped where no null sink can be recorded.
class RecordedSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString reason = NullSinkRecorder::unavailableReason();
        if (!reason.isEmpty())
            GTEST_SKIP() << "Audio test skipped: " << reason.toStdString();
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(m_recorder.start());
    }

    /// Writes a sine tone named `name` into the test's folder; its path.
    QString writeToneFile(const QString &name, double seconds, int frequency = 441)
    {
        const QString path = m_folder.filePath(name);
        EXPECT_TRUE(SoundFixtures::writeTone(path, seconds, frequency))
            << "ffmpeg could not write " << path.toStdString();
        return path;
    }

    QTemporaryDir m_folder;
    NullSinkRecorder m_recorder;
};
