#include "panels/info/InfoGroupsBody.h"
#include "panels/info/LumivaneInfoPanelView.h"

#include "l10n/L10n.h"
#include "tests/support/HostileTexts.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class InfoPanelTexts : public testing::Test
{
protected:
    InfoPanelTexts() { m_l10n.setCurrent(L10n::Language::english); }

    std::unique_ptr<LumivaneInfoPanelView> open(const LumivaneProject &project)
    {
        auto view = std::make_unique<LumivaneInfoPanelView>(project, m_l10n);
        view->resize(1200, 800);
        view->show();
        return view;
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
};

class InfoPanelLongText : public InfoPanelTexts, public testing::WithParamInterface<HostileTexts::Text>
{
};

// Tour texts have no length limit: each text of the panel is cut to about a
// screen of its column before it is measured, so the panel scrolls through
// a few screens per text (a label and a value share the column), not
// through the whole text.
TEST_P(InfoPanelLongText, ScrollsAFewScreensPerText)
{
    const QString &text = GetParam().text;
    LumivaneProject project;
    project.freeNote = text;
    project.openingHours = text;
    project.customFields = {{QUuid::createUuid(), text, CustomFieldType::text, text}};
    auto view = open(project);
    InfoGroupsBody *body = widgetOfType<InfoGroupsBody>(view.get());
    ASSERT_TRUE(body);
    constexpr int texts = 4;
    constexpr int screen = 1080;
    EXPECT_LE(body->heightForWidth(body->width()), texts * 4 * screen);
}

INSTANTIATE_TEST_SUITE_P(Hostile, InfoPanelLongText, testing::ValuesIn(HostileTexts::all()),
                         [](const auto &info) { return std::string(info.param.name); });

QImage bodyPicture(const LumivaneInfoPanelView &view)
{
    InfoGroupsBody *body = widgetOfType<InfoGroupsBody>(&view);
    return body ? body->grab().toImage() : QImage();
}

// Control characters would draw as boxes: the panel draws them as spaces
// and keeps the author's line breaks, whichever way they were typed.
TEST_F(InfoPanelTexts, ShowControlCharactersAsSpaces)
{
    LumivaneProject typed;
    typed.freeNote = QString::fromUtf16(u"Ouvert\x01\t\x1b\u009b\x7f lundi\u2028et mardi\r\nsur rendez-vous");
    typed.customFields = {{QUuid::createUuid(), QStringLiteral("Cl\u009bé"), CustomFieldType::text,
                           QStringLiteral("A\x02" "B")}};
    LumivaneProject spaced;
    spaced.freeNote = QStringLiteral("Ouvert      lundi\net mardi\nsur rendez-vous");
    spaced.customFields = {{QUuid::createUuid(), QStringLiteral("Cl é"), CustomFieldType::text, QStringLiteral("A B")}};
    auto withControls = open(typed);
    auto withSpaces = open(spaced);
    QTest::qWait(1);
    const QImage expected = bodyPicture(*withSpaces);
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(bodyPicture(*withControls), expected);
}

} // namespace
