#pragma once

#include <QString>

class QWidget;

/// Switches menu titles between French and English in place. The menus are
/// not rebuilt on a change of language, so known titles are swapped where they
/// stand; titles it does not know are left alone. Titles compare as canonically
/// equal texts (a decomposed "ê" matches a precomposed one).
class MenuRetitler final
{
public:
    MenuRetitler() = delete;

    /// Every submenu of `mainMenu` that holds an item containing "Français" and
    /// one containing "English" is a language menu: it gets `title`, and each of
    /// its items is checked exactly when its title contains `nativeName`.
    static void localizeLanguageMenu(QWidget *mainMenu, const QString &title, const QString &nativeName);

    /// Gives every item of `menu` and, at every depth, of its submenus whose whole
    /// title is a known French or English menu title the French title when
    /// `french`, else the English one.
    static void localizeMenuTitles(QWidget *menu, bool french);
};
