#include "KeyboardShortcutRows.h"

namespace {

const QString kCommand = QStringLiteral("Ctrl");

} // namespace

QList<ShortcutSection> shortcutSections(bool isClassicMode, bool hasKiosk, bool hasTableOfContentsKey)
{
    using Key = L10n::Key;
    ShortcutSection navigation{Key::sectionNavigation,
                               {{{kCommand, QStringLiteral("←")}, Key::cheatsheetStationPrev},
                                {{kCommand, QStringLiteral("→")}, Key::cheatsheetStationNext},
                                {{kCommand, QStringLiteral("H")}, Key::cheatsheetStationBackHome}}};
    if (hasTableOfContentsKey)
        navigation.rows.append({{QStringLiteral("T")}, Key::cheatsheetTOC});

    ShortcutSection display{Key::sectionDisplay,
                            {{{QStringLiteral("I")}, Key::cheatsheetInfoPanel},
                             {{QStringLiteral("+")}, Key::cheatsheetZoomIn},
                             {{QStringLiteral("–")}, Key::cheatsheetZoomOut}}};
    if (!isClassicMode)
        display.rows.append({{QStringLiteral("R")}, Key::cheatsheetLevelHorizon});

    QList<ShortcutSection> sections{navigation, display};
    if (hasKiosk)
        sections.append({Key::sectionSlideshow, {{{QStringLiteral("Espace")}, Key::cheatsheetPlayPause}}});
    sections.append({Key::sectionGeneral,
                     {{{QStringLiteral("?")}, Key::cheatsheetShowHelp},
                      {{QStringLiteral("Esc")}, Key::cheatsheetCloseAll}}});
    return sections;
}
