#include "panels/cover/CoverLinkButton.h"
#include "panels/cover/LumivaneCoverView.h"
#include "panels/cover/MapTileSource.h"
#include "widgets/WrappingText.h"

#include "l10n/L10n.h"
#include "media/images/LumivaneImageCache.h"
#include "model/SystemFont.h"
#include "tests/support/HostileTexts.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/CapsuleButton.h"

#include <QLabel>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Every text the cover shows, set to the hostile one.
LumivaneProject hostileProject(const QString &text)
{
    LumivaneProject project;
    project.id = QUuid::createUuid();
    project.stations = {Station{}};
    project.stations[0].id = QUuid::createUuid();
    project.name = text;
    project.address = text;
    project.coverAgencyName = text;
    project.coverDescription = text;
    project.coverContactEmail = text;
    project.coverContactWebsite = text;
    project.coverContactPhone = text;
    project.contactFormButtonLabel = text;
    return project;
}

// A text the cover hands to layout: what it is and how much of it may reach
// layout at most.
struct ShownText
{
    QString where;
    QString text;
    qsizetype limit;
    LineBreaks lineBreaks;
};

QList<ShownText> shownTexts(const QWidget &view)
{
    QList<ShownText> texts;
    for (const QLabel *label : widgetsOfType<QLabel>(&view))
        texts.append({"label", label->text(), DisplayLength::scrolling, LineBreaks::kept});
    for (const WrappingText *title : widgetsOfType<WrappingText>(&view))
        texts.append({"title", title->text(), DisplayLength::title, LineBreaks::asSpaces});
    for (const CoverLinkButton *link : widgetsOfType<CoverLinkButton>(&view))
        texts.append({"link", link->text(), DisplayLength::line, LineBreaks::asSpaces});
    for (const CapsuleButton *button : widgetsOfType<CapsuleButton>(&view))
        texts.append({"button", button->text(), DisplayLength::line, LineBreaks::asSpaces});
    return texts;
}

class CoverLongText : public testing::TestWithParam<HostileTexts::Text>
{
protected:
    void SetUp() override
    {
        // Tiles from a port nobody listens on: the map draws its own ground.
        QSettings().setValue(QLatin1String(MapTileSource::templateSettingsKey),
                             QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));
        m_l10n.setCurrent(L10n::Language::french);
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    std::shared_ptr<LumivaneImageCache> m_cache =
        LumivaneImageCache::create(LumivaneImageCache::Limits{4, 64ll << 20, 32ll << 20});
};

// Tour texts have no length limit: the cover lays out only what it can show
// of each, shows control characters as spaces, and its start button stays
// whole beside a contact button of any label, in the smallest window.
TEST_P(CoverLongText, LaysOutWhatItShowsAndKeepsTheStartButtonWhole)
{
    LumivaneCoverView view({hostileProject(GetParam().text), std::nullopt, [] {}, [] {}},
                           CoverServices{m_l10n, m_cache, [](const QUrl &) { return false; }});
    view.resize(900, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(20);

    bool creditShown = false;
    for (const ShownText &shown : shownTexts(view)) {
        EXPECT_LE(shown.text.size(), shown.limit + 1) << shown.where.toStdString();
        EXPECT_FALSE(HostileTexts::hasControlCharacter(shown.text, shown.lineBreaks)) << shown.where.toStdString();
        creditShown = creditShown || shown.text.endsWith(QStringLiteral(" · Visite créée avec Lumivane"));
    }
    EXPECT_TRUE(creditShown); // the agency's name is cut, not the footer
    auto *title = widgetOfType<WrappingText>(&view);
    ASSERT_TRUE(title);
    EXPECT_LE(title->heightForWidth(title->width()), 3 * QFontMetricsF(systemFont(38, QFont::Bold)).lineSpacing());

    const QList<CapsuleButton *> buttons = widgetsOfType<CapsuleButton>(&view);
    ASSERT_EQ(buttons.size(), 2);
    CapsuleButton *start = buttons[0];
    EXPECT_EQ(start->text(), QStringLiteral("Lancer la visite"));
    EXPECT_EQ(start->size(), start->sizeHint());
    for (const CapsuleButton *button : buttons) {
        const QRect inCover(button->mapTo(&view, QPoint(0, 0)), button->size());
        EXPECT_GE(inCover.left(), 0);
        EXPECT_LE(inCover.right(), view.width());
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, CoverLongText, testing::ValuesIn(HostileTexts::all()),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
