#pragma once

#include "l10n/L10n.h"
#include "model/LumivaneProject.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

/// The commands the station view answers from the keyboard.
enum class ViewerShortcut {
    navigateBack,
    navigateForward,
    goHome,
    togglePropertyInfo,
    toggleKiosk,
    zoomIn,
    zoomOut,
    levelHorizon,
    showTableOfContents,
    showKeyboardHelp,
};

/// One key of the station view: the character it produces (an arrow key has
/// none), whether it is pressed with Command (Control on this platform), and
/// the keyed text that names it.
struct ViewerShortcutEntry
{
    ViewerShortcut action;
    Qt::Key key;
    QChar character;
    bool withCommand;
    L10n::Key label;
};

/// Every key of the station view, in a fixed order, whether or not the
/// project offers it.
const QList<ViewerShortcutEntry> &viewerShortcuts();

/// Space (the kiosk tour) only when the project enables the kiosk; "t" only
/// with at least 4 stations; every other key always.
bool isShortcutAvailable(ViewerShortcut action, const LumivaneProject &project);

/// The command of a key press in the station view, if any. Characters are
/// matched by what the key produced, whatever the layout: "+", "-" and "?"
/// with any modifier but Control, Meta; letters in either case without
/// Control, Alt or Meta; Command keys by key code with Control alone.
std::optional<ViewerShortcut> shortcutFor(int key, Qt::KeyboardModifiers modifiers, const QString &text,
                                          const LumivaneProject &project);
