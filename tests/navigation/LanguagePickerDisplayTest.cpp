#include "TestNavigation.h"
#include "navigation/VisitorLanguagePicker.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

// On the virtual X display, as in the real window: the flags are drawn from
// the colour emoji font, not as pairs of letters.
namespace {

struct FlagColours
{
    int blue = 0;
    int red = 0;
    int gold = 0;
};

FlagColours coloursIn(const QImage &image)
{
    FlagColours colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > c.red() + 60 && c.blue() > c.green() + 30)
                ++colours.blue;
            if (c.red() > c.green() + 90 && c.red() > c.blue() + 90)
                ++colours.red;
            if (c.red() > 180 && c.green() > 130 && c.blue() < 90)
                ++colours.gold;
        }
    }
    return colours;
}

class LanguagePickerDisplayTest : public NavigationViewTest
{
};

TEST_F(LanguagePickerDisplayTest, showsColourFlagsAndSwitchesToGermanFromItsMenu)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    l10n.setCurrent(L10n::Language::french);
    auto *picker = new VisitorLanguagePicker(l10n, &host);
    picker->adjustSize();
    picker->move(16, 16);
    showHost();

    const FlagColours french = coloursIn(picker->grab().toImage());
    EXPECT_GT(french.blue, 10);
    EXPECT_GT(french.red, 10);

    QTest::mouseClick(picker, Qt::LeftButton);
    QMenu *menu = picker->menu();
    QTRY_VERIFY(menu->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const FlagColours items = coloursIn(menu->grab().toImage());
    EXPECT_GT(items.blue + items.red + items.gold, 100) << "flags in the menu";
    QAction *german = menu->actions().last();
    QTest::mouseMove(menu, menu->actionGeometry(german).center());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(german).center());
    QTRY_VERIFY(!menu->isVisible());

    EXPECT_EQ(l10n.current(), L10n::Language::german);
    EXPECT_EQ(QSettings().value(L10n::settingsKey).toString(), "de");
    EXPECT_EQ(l10n.text(L10n::Key::menuLanguage), "Language");
    QTRY_VERIFY(coloursIn(picker->grab().toImage()).gold > 10);
    EXPECT_LT(coloursIn(picker->grab().toImage()).blue, 3);
}

} // namespace
