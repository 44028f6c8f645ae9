#include "LightboxFixture.h"

#include "panels/lightbox/LightboxHeader.h"
#include "panels/lightbox/VideoTransportBar.h"

#include "tests/support/WidgetLookup.h"
#include "widgets/SymbolButton.h"
#include "tests/support/CaseName.h"

#include <QAccessible>
#include <QSlider>
#include <QTest>

namespace {

struct CardCase
{
    QSize view;
    QRect card;
};

class LightboxCard : public ::testing::TestWithParam<CardCase>
{
};

TEST_P(LightboxCard, keepsItsMarginAndLimit)
{
    EXPECT_EQ(LumivaneLightbox::cardRect(GetParam().view), GetParam().card);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LightboxCard,
    ::testing::Values(CardCase{QSize(1920, 1080), QRect(386, 116, 1148, 848)},
                      CardCase{QSize(1228, 928), QRect(40, 40, 1148, 848)},
                      CardCase{QSize(900, 600), QRect(40, 40, 820, 520)},
                      CardCase{QSize(2000, 700), QRect(426, 40, 1148, 620)},
                      CardCase{QSize(60, 60), QRect(30, 30, 0, 0)}),
    [](const auto &info) {
        return caseName(QStringLiteral("view %1x%2").arg(info.param.view.width()).arg(info.param.view.height()));
    });

enum class Place { backdropLeft, backdropTop, header, media, innerMargin };

struct ClickCase
{
    const char *name;
    Place place;
    int closes;
};

class LightboxClick : public LightboxFixture, public ::testing::TestWithParam<ClickCase>
{
protected:
    QPoint point(Place place) const
    {
        const QRect card = LumivaneLightbox::cardRect(m_lightbox->size());
        switch (place) {
        case Place::backdropLeft:
            return QPoint(card.left() / 2, card.center().y());
        case Place::backdropTop:
            return QPoint(card.center().x(), card.top() - 5);
        case Place::header:
            return card.topLeft() + QPoint(24 + 40, 24 + 20);
        case Place::media:
            return card.center();
        case Place::innerMargin:
            return card.bottomRight() - QPoint(10, 10);
        }
        return {};
    }
};

TEST_P(LightboxClick, onlyTheBackdropCloses)
{
    open({LightboxContent::Kind::image, writeImage(QStringLiteral("a.png"), QSize(40, 30)), QStringLiteral("A")});
    QTest::mouseClick(m_lightbox.get(), Qt::LeftButton, {}, point(GetParam().place));
    EXPECT_EQ(m_closes, GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(Places, LightboxClick,
    ::testing::Values(ClickCase{"backdropLeft", Place::backdropLeft, 1},
                      ClickCase{"backdropTop", Place::backdropTop, 1},
                      ClickCase{"header", Place::header, 0},
                      ClickCase{"media", Place::media, 0},
                      ClickCase{"innerMargin", Place::innerMargin, 0}),
    [](const auto &info) { return std::string(info.param.name); });

class Lightbox : public LightboxFixture, public ::testing::Test
{
};

TEST_F(Lightbox, closeButtonAndCloseEntryEachCloseOnce)
{
    open({LightboxContent::Kind::pdf, writePdf(QStringLiteral("a.pdf"), 1), QString()});
    auto *button = widgetOfType<SymbolButton>(m_lightbox->header());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("Close"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(m_closes, 1);
    m_lightbox->close();
    EXPECT_EQ(m_closes, 2);
    EXPECT_TRUE(m_lightbox->isVisible()) << "the owner removes it";
}

TEST_F(Lightbox, emptyTitleShowsTheDefaultInTheLanguage)
{
    open({LightboxContent::Kind::image, writeImage(QStringLiteral("a.png"), QSize(4, 4)), QString()});
    EXPECT_EQ(m_lightbox->header()->title(), QStringLiteral("Attachment"));
    m_l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(m_lightbox->header()->title(), QStringLiteral("Pièce jointe"));
    m_lightbox->setContent({LightboxContent::Kind::image, m_lightbox->content().url, QStringLiteral("   ")});
    EXPECT_EQ(m_lightbox->header()->title(), QStringLiteral("   ")) << "blanks are a title";
}

TEST_F(Lightbox, sameContentKeepsItsMediaAndTakesTheNewTitle)
{
    const QUrl url = writeImage(QStringLiteral("a.png"), QSize(4, 4));
    open({LightboxContent::Kind::image, url, QStringLiteral("First")});
    QWidget *before = m_lightbox->mediaView();
    m_lightbox->setContent({LightboxContent::Kind::image, url, QStringLiteral("Second")});
    EXPECT_EQ(m_lightbox->mediaView(), before);
    EXPECT_EQ(m_lightbox->header()->title(), QStringLiteral("Second"));
    // The same file as another kind is other content.
    m_lightbox->setContent({LightboxContent::Kind::pdf, url, QStringLiteral("Second")});
    EXPECT_NE(m_lightbox->mediaView(), before);
}

} // namespace

namespace {

class VideoControls : public LightboxFixture, public ::testing::Test
{
};

TEST_F(VideoControls, AreNamedTakeTheFocusFromTabAndTheMuteButtonSaysWhatItDoes)
{
    VideoTransportBar bar(m_l10n);
    const QList<QSlider *> sliders = bar.findChildren<QSlider *>();
    ASSERT_EQ(sliders.size(), 2);
    QStringList names;
    for (QSlider *slider : sliders) {
        names << QAccessible::queryAccessibleInterface(slider)->text(QAccessible::Name);
        EXPECT_EQ(slider->focusPolicy(), Qt::TabFocus);
    }
    EXPECT_EQ(names, (QStringList{"Playback position", "Volume"}));
    const QList<SymbolButton *> buttons = widgetsOfType<SymbolButton>(&bar);
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[1]->accessibleName(), QStringLiteral("Mute"));
    bar.setMuted(true);
    EXPECT_EQ(buttons[1]->accessibleName(), QStringLiteral("Unmute"));
    m_l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(buttons[1]->accessibleName(), QStringLiteral("Rétablir le son"));
}

} // namespace
