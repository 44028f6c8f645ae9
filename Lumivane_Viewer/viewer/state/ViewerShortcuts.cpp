#include "viewer/state/ViewerShortcuts.h"

#include <algorithm>

namespace {

using Key = L10n::Key;

// Keypad and group switches say where a key sits, not what it means.
Qt::KeyboardModifiers meaningful(Qt::KeyboardModifiers modifiers)
{
    return modifiers & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
}

QChar producedCharacter(int key, const QString &text)
{
    if (text.size() == 1 && text.front().isPrint())
        return text.front();
    // Synthetic events may carry no text; printable key codes are their character.
    if (key >= 0x20 && key < 0x7f)
        return QChar(key);
    return {};
}

bool matchesCommandKey(const ViewerShortcutEntry &entry, int key, Qt::KeyboardModifiers modifiers)
{
    return key == entry.key && meaningful(modifiers) == Qt::ControlModifier;
}

bool matchesCharacter(const ViewerShortcutEntry &entry, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    const Qt::KeyboardModifiers pressed = meaningful(modifiers);
    if (pressed & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    if (entry.character.isLetter() && (pressed & Qt::AltModifier))
        return false;
    return producedCharacter(key, text).toLower() == entry.character;
}

} // namespace

const QList<ViewerShortcutEntry> &viewerShortcuts()
{
    static const QList<ViewerShortcutEntry> table = {
        {ViewerShortcut::navigateBack, Qt::Key_Left, QChar(), true, Key::previous},
        {ViewerShortcut::navigateForward, Qt::Key_Right, QChar(), true, Key::next},
        {ViewerShortcut::goHome, Qt::Key_H, QLatin1Char('h'), true, Key::viewerBackToStart},
        {ViewerShortcut::togglePropertyInfo, Qt::Key_I, QLatin1Char('i'), false, Key::information},
        {ViewerShortcut::toggleKiosk, Qt::Key_Space, QLatin1Char(' '), false, Key::playPause},
        {ViewerShortcut::zoomIn, Qt::Key_Plus, QLatin1Char('+'), false, Key::zoomIn},
        {ViewerShortcut::zoomOut, Qt::Key_Minus, QLatin1Char('-'), false, Key::zoomOut},
        {ViewerShortcut::levelHorizon, Qt::Key_R, QLatin1Char('r'), false, Key::resetHorizon},
        {ViewerShortcut::showTableOfContents, Qt::Key_T, QLatin1Char('t'), false, Key::tableOfContents},
        {ViewerShortcut::showKeyboardHelp, Qt::Key_Question, QLatin1Char('?'), false, Key::shortcutsHelp},
    };
    return table;
}

bool isShortcutAvailable(ViewerShortcut action, const LumivaneProject &project)
{
    switch (action) {
    case ViewerShortcut::toggleKiosk:
        return project.kioskEnabled;
    case ViewerShortcut::showTableOfContents:
        return project.stations.size() >= 4;
    default:
        return true;
    }
}

std::optional<ViewerShortcut> shortcutFor(int key, Qt::KeyboardModifiers modifiers, const QString &text,
                                          const LumivaneProject &project)
{
    const QList<ViewerShortcutEntry> &table = viewerShortcuts();
    const auto match = std::find_if(table.cbegin(), table.cend(), [&](const ViewerShortcutEntry &entry) {
        return entry.withCommand ? matchesCommandKey(entry, key, modifiers)
                                 : matchesCharacter(entry, key, modifiers, text);
    });
    if (match == table.cend() || !isShortcutAvailable(match->action, project))
        return std::nullopt;
    return match->action;
}
