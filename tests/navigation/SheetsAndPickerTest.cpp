#include "TestNavigation.h"
#include "navigation/KeyboardCheatsheetSheet.h"
#include "navigation/VisitorLanguagePicker.h"

#include "widgets/SymbolButton.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>

namespace {

class KeyboardCheatsheetSheetTest : public NavigationViewTest
{
protected:
    KeyboardCheatsheetSheet *open(bool isClassicMode, bool hasKiosk, bool hasTableOfContentsKey)
    {
        auto *sheet = new KeyboardCheatsheetSheet(isClassicMode, hasKiosk, hasTableOfContentsKey, l10n, &host);
        sheet->setGeometry(host.rect());
        sheet->onClose = [this] { ++closes; };
        showHost();
        return sheet;
    }

    static QStringList labels(QWidget *sheet)
    {
        QStringList texts;
        for (QLabel *label : sheet->findChildren<QLabel *>())
            texts.append(label->text());
        return texts;
    }

    /// The text shown on the line of a key cap, to its right.
    static QString textBeside(QWidget *sheet, const QString &cap)
    {
        const QList<QLabel *> labels = sheet->findChildren<QLabel *>();
        const auto centre = [sheet](QLabel *label) { return label->mapTo(sheet, label->rect().center()); };
        for (QLabel *key : labels) {
            if (key->text() != cap)
                continue;
            for (QLabel *other : labels) {
                if (std::abs(centre(other).y() - centre(key).y()) <= 2 && centre(other).x() > centre(key).x() + 40)
                    return other->text();
            }
        }
        return {};
    }

    int closes = 0;
};

TEST_F(KeyboardCheatsheetSheetTest, closesFromTheBackdropAndTheButtonOnly)
{
    KeyboardCheatsheetSheet *sheet = open(false, false, true);
    const QRect card = sheet->panelGeometry();
    EXPECT_EQ(card.size(), QSize(520, 460));
    EXPECT_EQ(card.center(), host.rect().center());
    QTest::mouseClick(sheet, Qt::LeftButton, {}, card.center()); // on the card
    EXPECT_EQ(closes, 0);
    QTest::mouseClick(sheet, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(closes, 1);
    widgetOfType<SymbolButton>(sheet)->click();
    EXPECT_EQ(closes, 2);
}

TEST_F(KeyboardCheatsheetSheetTest, readsTheRowsOfTheTourInTheInterfaceLanguage)
{
    KeyboardCheatsheetSheet *sheet = open(false, true, true);
    const QStringList english = labels(sheet);
    for (const char *text : {"NAVIGATION", "DISPLAY", "SLIDESHOW", "GENERAL", "Espace", "Ctrl", "Close all panels",
                             "Keyboard shortcuts"})
        EXPECT_TRUE(english.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(english.contains("Close tour"));
    EXPECT_EQ(textBeside(sheet, "+"), "Zoom in");
    EXPECT_EQ(textBeside(sheet, QStringLiteral("–")), "Zoom out");

    l10n.setCurrent(L10n::Language::french);
    const QStringList french = labels(sheet);
    for (const char *text : {"AFFICHAGE", "DIAPORAMA", "GÉNÉRAL", "Espace", "Fermer les panneaux", "Raccourcis clavier"})
        EXPECT_TRUE(french.contains(QString::fromUtf8(text))) << text;
}

// Where QLabel draws its text: centred in the contents rectangle.
QRect drawnGlyphs(const QLabel &label)
{
    const QFontMetrics metrics(label.font());
    const QRect contents = label.contentsRect();
    const int baseline = contents.top() + (contents.height() - metrics.height()) / 2 + metrics.ascent();
    return metrics.tightBoundingRect(label.text()).translated(0, baseline);
}

TEST_F(KeyboardCheatsheetSheetTest, sectionTitlesKeepTheAccentsOfTheirCapitals)
{
    l10n.setCurrent(L10n::Language::french);
    KeyboardCheatsheetSheet *sheet = open(false, true, true);
    QLabel *general = nullptr;
    for (QLabel *label : sheet->findChildren<QLabel *>()) {
        if (label->text() == QString::fromUtf8("GÉNÉRAL"))
            general = label;
    }
    ASSERT_NE(general, nullptr);
    const QRect glyphs = drawnGlyphs(*general);
    EXPECT_GE(glyphs.top(), 0) << "the accents over the capitals are cut off";
    EXPECT_LT(glyphs.bottom(), general->height());
}

class VisitorLanguagePickerTest : public NavigationViewTest
{
protected:
    static QStringList checkedItems(VisitorLanguagePicker &picker)
    {
        QStringList checked;
        for (QAction *action : picker.menu()->actions()) {
            if (action->isChecked())
                checked.append(action->text());
        }
        return checked;
    }
};

TEST_F(VisitorLanguagePickerTest, listsFiveLanguagesAndChecksTheCurrentOne)
{
    l10n.setCurrent(L10n::Language::french);
    VisitorLanguagePicker picker(l10n);
    QStringList items;
    for (QAction *action : picker.menu()->actions())
        items.append(action->text());
    EXPECT_EQ(items, (QStringList{"🇫🇷  Français", "🇬🇧  English", "🇪🇸  Español", "🇮🇹  Italiano", "🇩🇪  Deutsch"}));
    EXPECT_EQ(checkedItems(picker), QStringList{"🇫🇷  Français"});
    EXPECT_EQ(picker.accessibleName(), "Langue");
    EXPECT_EQ(picker.sizeHint().width(), 60);
}

TEST_F(VisitorLanguagePickerTest, marksTheCurrentLanguageByACheckAtTheEndOfItsRowOnly)
{
    l10n.setCurrent(L10n::Language::french);
    VisitorLanguagePicker picker(l10n);
    QMenu *menu = picker.menu();
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QRect frenchRow = menu->actionGeometry(menu->actions().first());
    const QImage current = menu->grab().toImage().copy(frenchRow);
    l10n.setCurrent(L10n::Language::english);
    const QImage other = menu->grab().toImage().copy(frenchRow);
    ASSERT_EQ(current.size(), other.size());

    QRect mark;
    for (int y = 0; y < current.height(); ++y) {
        for (int x = 0; x < current.width(); ++x) {
            if (current.pixel(x, y) != other.pixel(x, y))
                mark |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(mark.isEmpty()) << "the current language is marked";
    EXPECT_GT(mark.left(), frenchRow.width() * 3 / 4) << "only at the end of the row, no leading dot";
    menu->close();
}

TEST_F(VisitorLanguagePickerTest, choosingALanguageAlwaysSetsIt)
{
    l10n.setCurrent(L10n::Language::french);
    VisitorLanguagePicker picker(l10n);
    QSignalSpy changes(&l10n, &L10n::currentChanged);
    picker.menu()->actions().last()->trigger();
    EXPECT_EQ(l10n.current(), L10n::Language::german);
    EXPECT_EQ(QSettings().value(L10n::settingsKey).toString(), "de");
    EXPECT_EQ(l10n.text(L10n::Key::tableOfContents), "Table of contents");
    EXPECT_EQ(checkedItems(picker), QStringList{"🇩🇪  Deutsch"});

    picker.menu()->actions().last()->trigger();
    EXPECT_EQ(changes.count(), 2) << "the language in use is set again";
    EXPECT_EQ(checkedItems(picker), QStringList{"🇩🇪  Deutsch"});
}

} // namespace
