#pragma once

#include "l10n/L10n.h"

#include <QList>
#include <QStringList>

/// One line of the keyboard help card: the key caps, read the same in every
/// language, and the keyed text of what the keys do.
struct ShortcutRow
{
    QStringList keys;
    L10n::Key description;

    bool operator==(const ShortcutRow &) const = default;
};

struct ShortcutSection
{
    L10n::Key title;
    QList<ShortcutRow> rows;

    bool operator==(const ShortcutSection &) const = default;
};

/// What the station view's keys do in the tour shown, by section. "R"
/// (level the horizon) only outside classic tours; the slideshow section
/// only with the kiosk tour; "T" only when the tour has its
/// table-of-contents key. Command is this platform's Ctrl; Escape closes
/// the open panels one by one, the topmost first.
QList<ShortcutSection> shortcutSections(bool isClassicMode, bool hasKiosk, bool hasTableOfContentsKey);
