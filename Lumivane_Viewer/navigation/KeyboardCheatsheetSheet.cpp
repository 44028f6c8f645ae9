#include "KeyboardCheatsheetSheet.h"

#include "NavigationStyle.h"
#include "l10n/L10n.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr QSize kCardSize{520, 460};
constexpr int kKeyColumnMinimumWidth = 100;

QLabel *makeKeyCap(const QString &key, QWidget *parent)
{
    auto *cap = new QLabel(key, parent);
    cap->setFont(systemFont(11, QFont::DemiBold, FontDesign::monospaced));
    cap->setStyleSheet(QStringLiteral("QLabel { color: rgba(255, 255, 255, 230); background: rgba(255, 255, 255, 31);"
                                      " border-radius: 4px; padding: 3px 7px; }"));
    return cap;
}

QWidget *makeRow(const ShortcutRow &row, const QString &description, QWidget *parent)
{
    auto *line = new QWidget(parent);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto *keys = new QWidget(line);
    keys->setMinimumWidth(kKeyColumnMinimumWidth);
    keys->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto *keyLayout = new QHBoxLayout(keys);
    keyLayout->setContentsMargins(0, 0, 0, 0);
    keyLayout->setSpacing(4);
    keyLayout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const QString &key : row.keys)
        keyLayout->addWidget(makeKeyCap(key, keys));
    layout->addWidget(keys);
    layout->addWidget(makeLabel(systemFont(13), withAlpha(Qt::white, 0.85), line, description));
    layout->addStretch();
    return line;
}

} // namespace

KeyboardCheatsheetSheet::KeyboardCheatsheetSheet(bool isClassicMode, bool hasKiosk, bool hasTableOfContentsKey,
                                                 L10n &l10n, QWidget *parent)
    : ModalFrame(ModalFrameLook{withAlpha(Qt::black, 0.82), QColor::fromRgbF(0.08f, 0.08f, 0.08f), 12,
                                DropShadow{withAlpha(Qt::black, 0.5), 30, QPointF(0, 12)}},
                 DialogFocus::contained, parent)
    , m_sections(shortcutSections(isClassicMode, hasKiosk, hasTableOfContentsKey))
    , m_l10n(&l10n)
{
    addSheetHeader(*panelColumn(), buildHeader());
    m_scroll = new QScrollArea(panel());
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Rows of text only: the list itself is reached with Tab and scrolled by
    // the keys when it does not fit; every other key stays the viewer's.
    KeyboardFocus::makeReachable(*m_scroll);
    m_scroll->viewport()->setAutoFillBackground(false);
    styleScrollBar(m_scroll->verticalScrollBar());
    panelColumn()->addWidget(m_scroll, 1);
    connect(&l10n, &L10n::currentChanged, this, [this] { retranslate(); });
    retranslate();
}

QRect KeyboardCheatsheetSheet::panelRect(const QSize &sheet) const
{
    QRect card(QPoint(), kCardSize);
    card.moveCenter(QRect(QPoint(), sheet).center());
    return card;
}

QWidget *KeyboardCheatsheetSheet::buildHeader()
{
    auto *header = new QWidget(panel());
    const SheetTitleRow row = makeSheetTitleRow(header, 20);
    connect(row.closeButton, &SymbolButton::clicked, this, &KeyboardCheatsheetSheet::requestClose);
    row.layout->setContentsMargins(20, 16, 20, 16);
    header->setLayout(row.layout);
    m_title = row.title;
    m_subtitle = row.subtitle;
    m_closeButton = row.closeButton;
    return header;
}

QWidget *KeyboardCheatsheetSheet::buildSections()
{
    auto *content = new QWidget(m_scroll);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(20);
    const QFont titleFont = tracked(systemFont(10, QFont::DemiBold), 1.2);
    for (const ShortcutSection &section : std::as_const(m_sections)) {
        auto *block = new QVBoxLayout;
        block->setSpacing(8);
        block->addWidget(makeCapitalsLabel(titleFont, withAlpha(Qt::white, 0.5), content, m_l10n->text(section.title)));
        for (const ShortcutRow &row : section.rows)
            block->addWidget(makeRow(row, m_l10n->text(row.description), content));
        column->addLayout(block);
    }
    column->addStretch();
    return content;
}

void KeyboardCheatsheetSheet::retranslate()
{
    m_title->setText(m_l10n->text(L10n::Key::keyboardShortcutsTitle));
    setAccessibleName(m_title->text());
    m_subtitle->setText(m_l10n->text(L10n::Key::keyboardShortcutsSubtitle));
    m_closeButton->setAccessibleName(m_l10n->text(L10n::Key::closeHelp));
    // The scroll area owns the content it is given and deletes the old one.
    m_scroll->setWidget(buildSections());
    // setWidget() gives the content an opaque background of its own.
    m_scroll->widget()->setAutoFillBackground(false);
}
