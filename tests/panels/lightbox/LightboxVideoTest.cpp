#include "panels/lightbox/LightboxVideoPlayer.h"
#include "panels/lightbox/LumivaneLightbox.h"
#include "panels/lightbox/VideoFrameView.h"
#include "panels/lightbox/VideoTransportBar.h"

#include "l10n/L10n.h"
#include "tests/support/RecordedSoundTest.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/SymbolButton.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QTest>

#include <memory>

using namespace SoundFixtures;

namespace {

// Far below the tone, above the null sink's silence.
constexpr double silence = 50.0;

class LightboxVideo : public RecordedSoundTest
{
protected:
    void SetUp() override
    {
        RecordedSoundTest::SetUp();
        if (IsSkipped())
            return;
        m_l10n.setCurrent(L10n::Language::english);
        const QString path = m_folder.filePath(QStringLiteral("tour.mp4"));
        ASSERT_TRUE(writeToneVideo(path, 4.0)) << "ffmpeg could not write the movie";
        m_lightbox = std::make_unique<LumivaneLightbox>(
            LightboxContent{LightboxContent::Kind::video, QUrl::fromLocalFile(path), QStringLiteral("Tour")}, m_l10n);
        m_lightbox->onClose = [this] { ++m_closes; };
        m_lightbox->resize(1200, 800);
        m_lightbox->show();
        m_video = dynamic_cast<LightboxVideoPlayer *>(m_lightbox->mediaView());
        ASSERT_NE(m_video, nullptr);
    }

    SymbolButton *button(const QString &accessibleName) const
    {
        for (auto *candidate : widgetsOfType<SymbolButton>(m_lightbox.get())) {
            if (candidate->accessibleName() == accessibleName)
                return candidate;
        }
        return nullptr;
    }

    SymbolButton *muteButton() const
    {
        for (auto *candidate : widgetsOfType<SymbolButton>(m_video)) {
            if (candidate->look().symbol.startsWith(QLatin1String("speaker")))
                return candidate;
        }
        return nullptr;
    }

    bool heard() { return rms(m_recorder.record(100)) > 1000; }

    void playByItsButton()
    {
        SymbolButton *play = button(QStringLiteral("Play / Pause"));
        ASSERT_NE(play, nullptr);
        QTest::mouseClick(play, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return heard(); }, 4000)) << "the tone never played";
    }

    void expectSilence()
    {
        QTest::qWait(250); // what was already in the sink's buffers
        EXPECT_LT(rms(m_recorder.record(500)), silence);
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    std::unique_ptr<LumivaneLightbox> m_lightbox;
    LightboxVideoPlayer *m_video = nullptr;
    int m_closes = 0;
};

TEST_F(LightboxVideo, waitsForTheVisitorThenPlaysAndShowsFrames)
{
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_video->frameView()->hasFrame(); }, 4000))
        << "the first picture shows before playing";
    EXPECT_NE(m_video->player()->playbackState(), QMediaPlayer::PlayingState);
    EXPECT_LT(rms(m_recorder.record(300)), silence) << "it does not start by itself";
    playByItsButton();
    EXPECT_EQ(m_video->player()->playbackState(), QMediaPlayer::PlayingState);

    QTest::mouseClick(muteButton(), Qt::LeftButton);
    EXPECT_TRUE(m_video->audioOutput()->isMuted());
    expectSilence();
    QTest::mouseClick(muteButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return heard(); }, 2000));

    QTest::mouseClick(button(QStringLiteral("Play / Pause")), Qt::LeftButton);
    EXPECT_EQ(m_video->player()->playbackState(), QMediaPlayer::PausedState);
    expectSilence();
}

enum class Ending { closeEntry, closeButton, otherContent, hidden, destroyed };

class LightboxVideoEnding : public LightboxVideo, public ::testing::WithParamInterface<Ending>
{
};

TEST_P(LightboxVideoEnding, leavesNothingPlaying)
{
    playByItsButton();
    switch (GetParam()) {
    case Ending::closeEntry:
        m_lightbox->close();
        EXPECT_EQ(m_closes, 1);
        break;
    case Ending::closeButton:
        QTest::mouseClick(button(QStringLiteral("Close")), Qt::LeftButton);
        EXPECT_EQ(m_closes, 1);
        break;
    case Ending::otherContent:
        m_lightbox->setContent({LightboxContent::Kind::image, QUrl::fromLocalFile(m_folder.filePath("a.png")), {}});
        break;
    case Ending::hidden:
        m_lightbox->hide();
        break;
    case Ending::destroyed:
        m_lightbox.reset();
        break;
    }
    expectSilence();
}

std::string endingName(const ::testing::TestParamInfo<Ending> &info)
{
    static const char *const names[] = {"closeEntry", "closeButton", "otherContent", "hidden", "destroyed"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Endings, LightboxVideoEnding,
    ::testing::Values(Ending::closeEntry, Ending::closeButton, Ending::otherContent, Ending::hidden,
                      Ending::destroyed),
    endingName);

TEST_F(LightboxVideo, shownAgainAfterHidingLoadsTheFileAnew)
{
    playByItsButton();
    m_lightbox->hide();
    EXPECT_TRUE(m_video->player()->source().isEmpty());
    m_lightbox->show();
    EXPECT_FALSE(m_video->player()->source().isEmpty());
    playByItsButton();
}

TEST(PlaybackTime, readsAsMinutesAndSeconds)
{
    EXPECT_EQ(formatPlaybackTime(0), QStringLiteral("0:00"));
    EXPECT_EQ(formatPlaybackTime(7999), QStringLiteral("0:07"));
    EXPECT_EQ(formatPlaybackTime(600000), QStringLiteral("10:00"));
    EXPECT_EQ(formatPlaybackTime(3723000), QStringLiteral("1:02:03"));
    EXPECT_EQ(formatPlaybackTime(-5), QStringLiteral("0:00"));
}

} // namespace
