#pragma once

#include "KeyboardShortcutRows.h"
#include "widgets/ModalFrame.h"

#include <QPointer>

class L10n;
class QLabel;
class QScrollArea;
class SymbolButton;

/// The help card of the viewer's keys, grouped in sections, centred on a
/// dark backdrop. Shows only the rows true for the tour in view: the
/// level-horizon key outside classic tours, the slideshow section with the
/// kiosk tour, the table-of-contents key when the tour has it. It reads no
/// key definitions and takes no keys; the backdrop and the close button
/// report onClose.
/// Size policy: the whole window (backdrop), the card fixed at 520 by 460
/// in its centre.
class KeyboardCheatsheetSheet final : public ModalFrame
{
public:
    KeyboardCheatsheetSheet(bool isClassicMode, bool hasKiosk, bool hasTableOfContentsKey, L10n &l10n,
                            QWidget *parent = nullptr);

protected:
    QRect panelRect(const QSize &sheet) const override;

private:
    QWidget *buildHeader();
    QWidget *buildSections();
    void retranslate();

    QList<ShortcutSection> m_sections;
    QPointer<L10n> m_l10n;
    QLabel *m_title = nullptr;
    QLabel *m_subtitle = nullptr;
    SymbolButton *m_closeButton = nullptr;
    QScrollArea *m_scroll = nullptr;
};
