#include "tests/support/NullSinkRecorder.h"
#include "tests/support/SoundFixtures.h"

#include "media/sound/SpeechService.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QTextToSpeech>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

using namespace SoundFixtures;

namespace {

struct VoiceCase
{
    const char *code;
    const char *voice;
};

void PrintTo(const VoiceCase &voiceCase, std::ostream *out)
{
    *out << '"' << voiceCase.code << "\" -> " << voiceCase.voice;
}

class VoiceLanguageTest : public ::testing::TestWithParam<VoiceCase>
{
};

TEST_P(VoiceLanguageTest, PicksTheVoiceOfTheCode)
{
    EXPECT_EQ(SpeechService::voiceLanguage(QString::fromUtf8(GetParam().code)),
        QString::fromUtf8(GetParam().voice));
}

INSTANTIATE_TEST_SUITE_P(Codes, VoiceLanguageTest,
    ::testing::Values(VoiceCase{"fr", "fr-FR"}, VoiceCase{"en", "en-US"}, VoiceCase{"EN", "en-US"},
        VoiceCase{"es", "es-ES"}, VoiceCase{"de", "de-DE"}, VoiceCase{"it", "it-IT"},
        VoiceCase{"", "fr-FR"}, VoiceCase{"pt", "fr-FR"}, VoiceCase{"en-GB", "fr-FR"}),
    [](const ::testing::TestParamInfo<VoiceCase> &info) {
        std::string name = info.param.code[0] == '\0' ? std::string("empty") : std::string(info.param.code);
        std::replace(name.begin(), name.end(), '-', '_');
        return name + "_" + std::to_string(info.index);
    });

TEST(SpeechServiceFlag, BlankTextReadsNothingAndStartsNoEngine)
{
    SpeechService speech;
    speech.speak(QStringLiteral("  \n\t \n"), QStringLiteral("fr"));
    EXPECT_FALSE(speech.isSpeaking());
    QTest::qWait(300);
    EXPECT_FALSE(speech.synthesizerIsSpeaking());
    speech.stop();
    EXPECT_FALSE(speech.isSpeaking());
}

class SpeechTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString reason = NullSinkRecorder::unavailableReason();
        if (reason.isEmpty() && !QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
            reason = QStringLiteral("the Qt speech-dispatcher engine is not installed");
        if (reason.isEmpty() && QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty())
            reason = QStringLiteral("speech-dispatcher is not installed");
        if (reason.isEmpty() && !QFileInfo::exists(QStringLiteral("/usr/lib/speech-dispatcher-modules/sd_espeak-ng")))
            reason = QStringLiteral("the espeak-ng voice module of speech-dispatcher is not installed");
#if defined(__SANITIZE_ADDRESS__)
        if (reason.isEmpty())
            reason = QStringLiteral("the speech client library parses its voice list for minutes "
                                    "under AddressSanitizer");
#endif
        if (!reason.isEmpty())
            GTEST_SKIP() << "Speech test skipped: " << reason.toStdString();
        ASSERT_TRUE(m_recorder.start());
    }

    bool waitUntilHeard()
    {
        // The first text also starts the engine and its daemon.
        return QTest::qWaitFor([this] { return peak(m_recorder.record(50)) > 1000; }, 15000);
    }

    NullSinkRecorder m_recorder;
    SpeechService m_speech;
};

TEST_F(SpeechTest, ReadsAloudWithoutFreezingTheWindowAndStopsAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    m_speech.speak(QStringLiteral("  Bienvenue dans cette visite. Le salon est orienté plein sud, "
                                  "avec une grande baie vitrée.\n"),
        QStringLiteral("fr"));
    EXPECT_LT(clock.elapsed(), 100) << "speak() waited for the engine";
    EXPECT_TRUE(m_speech.isSpeaking());
    ASSERT_TRUE(waitUntilHeard()) << "nothing was read aloud";
    EXPECT_TRUE(m_speech.synthesizerIsSpeaking());

    m_speech.stop();
    EXPECT_FALSE(m_speech.isSpeaking());
    QTest::qWait(400);
    EXPECT_LT(peak(m_recorder.record(400)), 50) << "reading went on after stop()";
    EXPECT_FALSE(m_speech.synthesizerIsSpeaking());
}

TEST_F(SpeechTest, FlagStaysSetAfterATextEndsByItself)
{
    m_speech.speak(QStringLiteral("Oui."), QStringLiteral("EN"));
    ASSERT_TRUE(waitUntilHeard());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_speech.synthesizerIsSpeaking(); }, 10000));
    EXPECT_TRUE(m_speech.isSpeaking());

    // A blank text stops and clears the flag; the next press reads again.
    m_speech.speak(QStringLiteral(" \n "), QStringLiteral("en"));
    EXPECT_FALSE(m_speech.isSpeaking());
    m_speech.speak(QStringLiteral("Again."), QStringLiteral("en"));
    EXPECT_TRUE(m_speech.isSpeaking());
    EXPECT_TRUE(waitUntilHeard());
}

// About six seconds of speech.
const QString longText = QStringLiteral("Bienvenue dans cette visite. Le salon est orienté plein sud, avec une grande "
                                        "baie vitrée qui donne sur le jardin et la terrasse.");

class SpeechHandOverTest : public SpeechTest
{
protected:
    // Returns `intoReadingMs` after the moment the text is due to go to the
    // speech daemon, the end of the pause before it, without serving events.
    void waitForHandOver(int intoReadingMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_speech.synthesizerIsSpeaking() && clock.elapsed() < 15000)
            QThread::usleep(100);
        ASSERT_TRUE(m_speech.synthesizerIsSpeaking());
        QThread::usleep(1000 * (150 + intoReadingMs));
    }

    bool staysSilent()
    {
        QTest::qWait(200);
        return peak(m_recorder.record(300)) < 50;
    }
};

// The daemon tells that it speaks a text only some milliseconds after taking
// it; the stops are spread over that moment, before and after.
constexpr int handOverOffsetsMs[] = {-6, -4, -2, 0, 2, 4, 6, 8, 10, 12, 14, 16};

TEST_F(SpeechHandOverTest, StopRightAfterTheHandOverSilencesTheText)
{
    for (int intoReadingMs : handOverOffsetsMs) {
        m_speech.speak(longText, QStringLiteral("fr"));
        waitForHandOver(intoReadingMs);
        m_speech.stop();
        EXPECT_FALSE(m_speech.isReadingAloud());
        EXPECT_TRUE(staysSilent()) << "read on after a stop " << intoReadingMs << " ms into the reading";
    }
}

TEST_F(SpeechTest, ReadingAloudLastsUntilTheTextHasBeenReadOrStopped)
{
    EXPECT_FALSE(m_speech.isReadingAloud());
    m_speech.speak(QStringLiteral("Oui."), QStringLiteral("fr"));
    EXPECT_TRUE(m_speech.isReadingAloud()) << "from the hand-over on";
    ASSERT_TRUE(waitUntilHeard());
    EXPECT_TRUE(m_speech.isReadingAloud());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_speech.isReadingAloud(); }, 10000));
    EXPECT_TRUE(m_speech.isSpeaking()) << "the flag of the button stays";

    m_speech.speak(QStringLiteral(" \n "), QStringLiteral("fr"));
    EXPECT_FALSE(m_speech.isReadingAloud()) << "a blank text reads nothing";
}

} // namespace
