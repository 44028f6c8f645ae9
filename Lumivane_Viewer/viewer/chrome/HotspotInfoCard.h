#pragma once

#include "ChromeLayer.h"
#include "ReservedAreas.h"

#include "model/Hotspot.h"
#include "model/Palette.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class L10n;
class QScrollArea;
class QVBoxLayout;
class SymbolButton;
class WrappingText;

/// The card of an info hotspot: its title and description in the interface
/// language, read-aloud and close buttons, and one row per attachment by
/// kind (document, picture, video, sound, text, link). A layer meant to fill
/// the station view; the card sits centred at its bottom, clear of the
/// reserved areas, and scrolls its contents when they are taller than the
/// room. Knows no rule about what may open: presses go out through the
/// callbacks, with the attachment. A dialog named by its title to assistive
/// technology, which Tab may leave.
class HotspotInfoCard final : public ChromeLayer
{
public:
    struct Inputs
    {
        Hotspot hotspot;
        /// Where each attachment's file is, in the order of
        /// hotspot.attachments; none where it may not be opened.
        QList<std::optional<QUrl>> fileURLs;
        QColor accent = paletteGold();

        bool operator==(const Inputs &) const = default;
    };

    explicit HotspotInfoCard(L10n &l10n, QWidget *parent = nullptr);

    void setInputs(const Inputs &inputs);
    void setReservedAreas(const ReservedAreas &areas);
    const Inputs &inputs() const { return m_inputs; }
    /// The card itself, inside the transparent layer.
    QWidget *card() const;

    std::function<void()> onClose;
    std::function<void(const Hotspot &)> onToggleReadAloud;
    std::function<void(const HotspotAttachment &)> onOpenAttachment;
    std::function<void(const QUrl &, const HotspotAttachment &)> onOpenImage;
    std::function<void(const HotspotAttachment &)> onPlaySound;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshTexts();
    void rebuildAttachments();
    QWidget *attachmentRow(const HotspotAttachment &attachment, const std::optional<QUrl> &fileURL);
    QWidget *buttonRow(const QString &symbol, const QString &text, const HotspotAttachment &attachment);
    void placeCard();
    QRect cardArea(int preferredWidth) const;

    QPointer<L10n> m_l10n;
    Inputs m_inputs;
    ReservedAreas m_reserved;
    QWidget *m_panel;
    QWidget *m_header;
    WrappingText *m_title;
    SymbolButton *m_readAloud;
    SymbolButton *m_close;
    QScrollArea *m_scroll;
    QWidget *m_body;
    WrappingText *m_description;
    QWidget *m_attachments;
    QVBoxLayout *m_attachmentRows;
};
