#include "tests/support/RecordedSoundTest.h"

#include "media/sound/SoundService.h"

#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

using namespace SoundFixtures;

namespace {

class InterfaceSoundTest : public RecordedSoundTest
{
protected:
    void SetUp() override
    {
        QSettings().remove(SoundService::enabledKey());
        RecordedSoundTest::SetUp();
    }

    void TearDown() override { QSettings().remove(SoundService::enabledKey()); }

    static void setEnabled(bool enabled) { QSettings().setValue(SoundService::enabledKey(), enabled); }

    SoundService m_sounds;
};

TEST_F(InterfaceSoundTest, PlaysOnlyWhileTheSettingIsOn)
{
    m_sounds.play(SoundService::Sound::tink);
    setEnabled(false);
    m_sounds.play(SoundService::Sound::pop);
    EXPECT_FALSE(m_sounds.hasLoaded(SoundService::Sound::tink));
    EXPECT_FALSE(m_sounds.hasLoaded(SoundService::Sound::pop));
    EXPECT_LT(peak(m_recorder.record(500)), 50);

    setEnabled(true);
    m_sounds.play(SoundService::Sound::tink);
    EXPECT_TRUE(m_sounds.hasLoaded(SoundService::Sound::tink));
    const int heard = peak(m_recorder.record(900));
    EXPECT_GT(heard, 500) << "the sound was not heard";
    EXPECT_LT(heard, 0.3 * 32767) << "interface sounds play quietly";

    // Read on every call: switching off takes effect at once.
    setEnabled(false);
    QTest::qWait(200);
    m_sounds.play(SoundService::Sound::tink);
    EXPECT_LT(peak(m_recorder.record(500)), 50);
}

TEST_F(InterfaceSoundTest, EveryOneOfTheFiveSoundsPlays)
{
    setEnabled(true);
    for (auto sound : {SoundService::Sound::pop, SoundService::Sound::tink, SoundService::Sound::glass,
             SoundService::Sound::morse, SoundService::Sound::funk}) {
        m_sounds.play(sound);
        // The first play of each sound also loads it.
        EXPECT_TRUE(QTest::qWaitFor([this] { return peak(m_recorder.record(50)) > 300; }, 1500))
            << "sound " << int(sound) << " was not heard";
        QTest::qWait(500);
    }
}

TEST_F(InterfaceSoundTest, QuickRepeatRestartsTheSoundInsteadOfOverlapping)
{
    setEnabled(true);
    m_sounds.play(SoundService::Sound::glass);
    const int single = peak(m_recorder.record(900));
    ASSERT_GT(single, 300);

    // Two copies started together would add up to twice the peak.
    m_sounds.play(SoundService::Sound::glass);
    m_sounds.play(SoundService::Sound::glass);
    const QVector<qint16> repeated = m_recorder.record(900);
    EXPECT_GT(peak(repeated), 0.8 * single);
    EXPECT_LT(peak(repeated), 1.2 * single) << "two copies sounded at once";
}

} // namespace
