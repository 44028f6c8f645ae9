#include "l10n/L10n.h"
#include "tests/support/TemporarySettings.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <memory>

using Language = L10n::Language;

namespace {

QAction *itemTitled(QMenu *menu, const QString &title)
{
    for (QAction *item : menu->actions()) {
        if (item->text() == title)
            return item;
    }
    return nullptr;
}

} // namespace

class MenuRetitling : public ::testing::Test
{
protected:
    MenuRetitling()
    {
        m_window = m_bar->addMenu(QStringLiteral("Fene\u0302tre")); // decomposed "ê"
        m_settingsItem = m_window->addAction(QStringLiteral("Settings…"));
        m_dottedItem = m_window->addAction(QStringLiteral("Settings..."));
        m_language = addLanguageMenu(QStringLiteral("Langue"));
        QMenu *project = m_bar->addMenu(QStringLiteral("Projet"));
        QMenu *tools = project->addMenu(QStringLiteral("Outils"));
        QMenu *more = tools->addMenu(QStringLiteral("Plus"));
        m_deepItem = more->addAction(QStringLiteral("Aide"));
        m_notLanguage = m_bar->addMenu(QStringLiteral("Choix"));
        m_notLanguage->addAction(QStringLiteral("Français"))->setCheckable(true);
        m_notLanguage->addAction(QStringLiteral("Deutsch"));
        m_l10n.setMainMenu(m_bar.get());
    }

    QMenu *addLanguageMenu(const QString &title)
    {
        QMenu *menu = m_bar->addMenu(title);
        for (const QString &name : {QStringLiteral("🇫🇷 Français"), QStringLiteral("🇬🇧 English"),
                                    QStringLiteral("🇪🇸 Espan\u0303ol"), QStringLiteral("🇮🇹 Italiano"),
                                    QStringLiteral("🇩🇪 Deutsch")})
            menu->addAction(name);
        return menu;
    }

    void switchTo(Language language)
    {
        m_l10n.setCurrent(language);
        QCoreApplication::processEvents();
    }

    static QList<bool> checks(QMenu *menu)
    {
        QList<bool> result;
        for (const QAction *item : menu->actions())
            result.append(item->isChecked());
        return result;
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    std::unique_ptr<QMenuBar> m_bar = std::make_unique<QMenuBar>();
    QMenu *m_window = nullptr;
    QMenu *m_language = nullptr;
    QMenu *m_notLanguage = nullptr;
    QAction *m_settingsItem = nullptr;
    QAction *m_dottedItem = nullptr;
    QAction *m_deepItem = nullptr;
};

TEST_F(MenuRetitling, runsOnALaterTurnOfTheEventLoop)
{
    m_l10n.setCurrent(Language::english);
    EXPECT_EQ(m_language->title(), QStringLiteral("Langue"));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_language->title(), QStringLiteral("Language"));
}

TEST_F(MenuRetitling, spanishShowsEnglishTitlesAndChecksEspanol)
{
    switchTo(Language::spanish);
    EXPECT_EQ(m_window->title(), QStringLiteral("Window"));
    EXPECT_EQ(m_language->title(), QStringLiteral("Language"));
    EXPECT_EQ(checks(m_language), (QList<bool>{false, false, true, false, false}));
    EXPECT_EQ(m_deepItem->text(), QStringLiteral("Help"));
    // Not a language menu: no "English" item.
    EXPECT_EQ(m_notLanguage->title(), QStringLiteral("Choix"));
    EXPECT_EQ(checks(m_notLanguage), (QList<bool>{false, false}));
}

TEST_F(MenuRetitling, frenchSwitchesOnlyExactTitles)
{
    switchTo(Language::french);
    EXPECT_EQ(m_settingsItem->text(), QStringLiteral("Réglages…"));
    EXPECT_EQ(m_dottedItem->text(), QStringLiteral("Settings..."));
    EXPECT_EQ(m_window->title().normalized(QString::NormalizationForm_C), QStringLiteral("Fenêtre"));
    EXPECT_EQ(m_language->title(), QStringLiteral("Langue"));
    EXPECT_EQ(checks(m_language), (QList<bool>{true, false, false, false, false}));
}

TEST_F(MenuRetitling, everyLanguageMenuIsHandled)
{
    QMenu *second = addLanguageMenu(QStringLiteral("Other"));
    switchTo(Language::german);
    EXPECT_EQ(second->title(), QStringLiteral("Language"));
    EXPECT_EQ(checks(second), (QList<bool>{false, false, false, false, true}));
    EXPECT_EQ(checks(m_language), checks(second));

    switchTo(Language::french);
    EXPECT_EQ(second->title(), QStringLiteral("Langue"));
    EXPECT_EQ(itemTitled(m_window, QStringLiteral("Réglages…")), m_settingsItem);
}

TEST_F(MenuRetitling, aDeletedMenuBarIsSkipped)
{
    m_l10n.setCurrent(Language::english);
    m_bar.reset();
    QCoreApplication::processEvents();
    SUCCEED();
}
