#include "HotspotInfoCard.h"

#include "ImageAttachmentRow.h"
#include "InfoCardRows.h"
#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SoftShadow.h"
#include "widgets/SymbolButton.h"
#include "widgets/ViewerDialog.h"
#include "widgets/WrappingText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int kPadding = 18;
constexpr int kMaxCardWidth = kInfoCardContentWidth + 2 * kPadding;
constexpr int kSpacing = 12;
constexpr int kBottomMargin = 32;
constexpr int kTopClearance = 72; // a tall card stops below the header's buttons
constexpr int kClearance = 12;    // from the reserved areas it keeps clear of
constexpr double kCornerRadius = 14;
const DropShadow kCardShadow{QColor::fromRgbF(0, 0, 0, 0.4f), 20, QPointF(0, 8)};

QMargins shadowRoom()
{
    const QMarginsF margins = shadowMargins(kCardShadow);
    return QMargins(int(std::ceil(margins.left())), int(std::ceil(margins.top())), int(std::ceil(margins.right())),
                    int(std::ceil(margins.bottom())));
}

/// The card's ground: grey with rounded corners over its soft shadow, which
/// lies in the contents margins.
class CardPanel final : public QWidget
{
public:
    explicit CardPanel(QWidget *parent)
        : QWidget(parent)
    {
        setContentsMargins(shadowRoom());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF card = contentsRect();
        paintRoundedRectShadow(painter, card, kCornerRadius, kCardShadow);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgbF(0.12f, 0.12f, 0.12f));
        painter.drawRoundedRect(card, kCornerRadius, kCornerRadius);
    }
};

SymbolButtonLook smallRoundLabel(const QString &symbol)
{
    return {24, symbol, 11, QColor::fromRgbF(1, 1, 1, 0.7f), std::nullopt, QColor::fromRgbF(1, 1, 1, 0.12f)};
}

QScrollArea *transparentScrollArea(QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // A long description is reached with Tab and scrolled by the keys; the
    // panorama keeps its keys while the focus is elsewhere.
    KeyboardFocus::makeReachable(*scroll);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 6px; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 64); border-radius: 3px; min-height: 24px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
    return scroll;
}

template<typename Callback, typename... Args>
void call(const Callback &callback, const Args &...args)
{
    if (callback)
        callback(args...);
}

} // namespace

HotspotInfoCard::HotspotInfoCard(L10n &l10n, QWidget *parent)
    : ChromeLayer(parent)
    , m_l10n(&l10n)
    , m_panel(new CardPanel(this))
    , m_header(new QWidget(m_panel))
    , m_title(cardText(QString(), DisplayLength::title, systemFont(15, QFont::Bold), Qt::white, m_header))
    , m_readAloud(new SymbolButton(smallRoundLabel(QStringLiteral("speaker.wave.2.fill")), m_header))
    , m_close(new SymbolButton(smallRoundLabel(QStringLiteral("xmark")), m_header))
    , m_scroll(transparentScrollArea(m_panel))
    , m_body(new QWidget(m_scroll))
    , m_description(cardText(QString(), DisplayLength::scrolling, systemFont(13), QColor::fromRgbF(1, 1, 1, 0.85f), m_body))
    , m_attachments(new QWidget(m_body))
    , m_attachmentRows(new QVBoxLayout(m_attachments))
{
    // The station stays usable beside it: Tab goes on to the controls around.
    presentAsDialog(*this, DialogFocus::free);
    auto *headerRow = new QHBoxLayout(m_header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(8);
    headerRow->addWidget(m_title, 1, Qt::AlignVCenter);
    headerRow->addWidget(m_readAloud, 0, Qt::AlignVCenter);
    headerRow->addWidget(m_close, 0, Qt::AlignVCenter);

    m_attachmentRows->setContentsMargins(0, 4, 0, 0);
    m_attachmentRows->setSpacing(10);
    auto *column = new QVBoxLayout(m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);
    column->addWidget(m_description);
    column->addWidget(m_attachments);
    column->addStretch(1);
    m_scroll->setWidget(m_body);
    m_body->setAutoFillBackground(false); // setWidget() turned it on
    m_body->installEventFilter(this);

    connect(m_readAloud, &QAbstractButton::clicked, this, [this] { call(onToggleReadAloud, m_inputs.hotspot); });
    connect(m_close, &QAbstractButton::clicked, this, [this] { call(onClose); });
    connect(m_l10n, &L10n::currentChanged, this, [this] {
        refreshTexts();
        rebuildAttachments();
    });
    refreshTexts();
}

QWidget *HotspotInfoCard::card() const
{
    return m_panel;
}

void HotspotInfoCard::setInputs(const Inputs &inputs)
{
    if (inputs == m_inputs)
        return;
    const bool sameRows = inputs.hotspot.attachments == m_inputs.hotspot.attachments
                          && inputs.fileURLs == m_inputs.fileURLs && inputs.accent == m_inputs.accent;
    m_inputs = inputs;
    refreshTexts();
    if (!sameRows)
        rebuildAttachments();
    m_scroll->verticalScrollBar()->setValue(0);
}

void HotspotInfoCard::refreshTexts()
{
    using Key = L10n::Key;
    const QString code = m_l10n->languageCode();
    m_title->setText(m_inputs.hotspot.localizedInfoTitle(code).value_or(m_l10n->text(Key::viewerInfoDefaultTitle)));
    setAccessibleName(m_title->text());
    const std::optional<QString> description = m_inputs.hotspot.localizedInfoDescription(code);
    m_description->setText(description.value_or(QString()));
    m_description->setVisible(description && !description->isEmpty());
    m_readAloud->setToolTip(m_l10n->text(Key::listenInfoTooltip));
    m_readAloud->setAccessibleName(m_l10n->text(Key::listenInfoA11y));
    m_close->setAccessibleName(m_l10n->text(Key::close));
    placeCard();
}

void HotspotInfoCard::rebuildAttachments()
{
    while (QLayoutItem *taken = m_attachmentRows->takeAt(0)) {
        const std::unique_ptr<QLayoutItem> item(taken);
        // Later, as a row's own callback may be running now.
        if (QWidget *row = item->widget()) {
            row->hide();
            row->deleteLater();
        }
    }
    const QList<HotspotAttachment> &attachments = m_inputs.hotspot.attachments;
    for (qsizetype i = 0; i < attachments.size(); ++i)
        m_attachmentRows->addWidget(attachmentRow(attachments[i], m_inputs.fileURLs.value(i)));
    m_attachments->setVisible(!attachments.isEmpty());
    placeCard();
}

QWidget *HotspotInfoCard::buttonRow(const QString &symbol, const QString &text, const HotspotAttachment &attachment)
{
    auto *row = new AttachmentButtonRow(symbol, text, m_inputs.accent, m_attachments);
    connect(row, &QAbstractButton::clicked, this, [this, attachment] { call(onOpenAttachment, attachment); });
    return row;
}

QWidget *HotspotInfoCard::attachmentRow(const HotspotAttachment &attachment, const std::optional<QUrl> &fileURL)
{
    using Key = L10n::Key;
    const auto titleOr = [&](Key key) { return attachment.title.isEmpty() ? m_l10n->text(key) : attachment.title; };
    switch (attachment.kind) {
    case AttachmentKind::pdf:
        return buttonRow(QStringLiteral("doc.richtext.fill"), titleOr(Key::viewerAttachmentOpenDocument), attachment);
    case AttachmentKind::video:
        return buttonRow(QStringLiteral("play.rectangle.fill"), titleOr(Key::viewerAttachmentPlayVideo), attachment);
    case AttachmentKind::link:
        return buttonRow(QStringLiteral("link"), attachment.title.isEmpty() ? attachment.payload : attachment.title,
                         attachment);
    case AttachmentKind::image: {
        auto *row = new ImageAttachmentRow(fileURL, attachment.title, titleOr(Key::viewerAttachmentViewPhoto),
                                           m_inputs.accent, m_attachments);
        row->onOpenImage = [this, attachment](const QUrl &url) { call(onOpenImage, url, attachment); };
        row->onOpenAttachment = [this, attachment] { call(onOpenAttachment, attachment); };
        return row;
    }
    case AttachmentKind::sound: {
        auto *row = new SoundAttachmentRow(titleOr(Key::viewerAttachmentListen),
                                           m_l10n->localizedFormat(Key::playAudioA11y, attachment.title), m_attachments);
        row->onPlay = [this, attachment] { call(onPlaySound, attachment); };
        return row;
    }
    case AttachmentKind::text:
        return new TextAttachmentBlock(attachment.title, attachment.payload, m_attachments);
    }
    return new QWidget(m_attachments);
}

void HotspotInfoCard::resizeEvent(QResizeEvent *event)
{
    ChromeLayer::resizeEvent(event);
    placeCard();
}

// A row that changes size (a picture arriving) asks its layout for room;
// the card is sized here, not by a layout, so it follows by hand. The layer
// filters its children's events from their construction on, before m_body
// is set; a layout request only ever comes later, through the event queue.
bool HotspotInfoCard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest && watched == m_body)
        placeCard();
    return ChromeLayer::eventFilter(watched, event);
}

// Bottom centre, as tall as its contents up to the room it has; beyond
// that the contents scroll. A title taller than a third of the room is cut
// there, so the buttons beside it and the text under it stay in reach.
void HotspotInfoCard::placeCard()
{
    const QRect area = cardArea(std::min(kMaxCardWidth, width()));
    const int cardWidth = area.width();
    const int contentWidth = std::max(1, cardWidth - 2 * kPadding);
    const int room = std::max(0, area.height() - 2 * kPadding);
    const int headerHeight = std::min(m_header->heightForWidth(contentWidth), std::max(room / 3, 24));
    const bool hasBody = !m_description->isHidden() || !m_attachments->isHidden();
    const int bodyHeight = hasBody ? m_body->heightForWidth(contentWidth) : 0;
    const int shownBody = std::clamp(bodyHeight, 0, std::max(0, room - headerHeight - kSpacing));
    const int cardHeight = 2 * kPadding + headerHeight + (hasBody ? kSpacing + shownBody : 0);

    const QRect card(area.left(), area.bottom() + 1 - cardHeight, cardWidth, cardHeight);
    m_panel->setGeometry(card.marginsAdded(shadowRoom()));
    const QPoint inside = m_panel->contentsRect().topLeft() + QPoint(kPadding, kPadding);
    m_header->setGeometry(inside.x(), inside.y(), contentWidth, headerHeight);
    m_scroll->setVisible(hasBody);
    m_scroll->setGeometry(inside.x(), inside.y() + headerHeight + kSpacing, contentWidth, shownBody);
}

void HotspotInfoCard::setReservedAreas(const ReservedAreas &areas)
{
    if (areas == m_reserved)
        return;
    m_reserved = areas;
    placeCard();
}

// Where the card may lie: centred above the bottom margin, below the
// header's buttons. Its shadow included, it keeps above the thumbnail
// strip and a classic station's caption, between the controls along the
// left and right edges, narrower when they leave less room, and starts
// lower where it would meet the overlay column.
QRect HotspotInfoCard::cardArea(int preferredWidth) const
{
    const QMargins shadow = shadowRoom();
    int bottom = height() - kBottomMargin;
    for (const QRect &below : {m_reserved.thumbStrip, m_reserved.classicCaption}) {
        if (!below.isEmpty())
            bottom = std::min(bottom, below.top() - kClearance - shadow.bottom());
    }
    int leftmost = 0;
    for (const QRect &left : {m_reserved.controlBar, m_reserved.classicPrevious}) {
        if (!left.isEmpty())
            leftmost = std::max(leftmost, left.right() + 1 + kClearance + shadow.left());
    }
    int rightmost = width();
    for (const QRect &right : {m_reserved.floorPlan, m_reserved.classicNext}) {
        if (!right.isEmpty() && right.top() < bottom)
            rightmost = std::min(rightmost, right.left() - kClearance - shadow.right());
    }
    const int cardWidth = std::clamp(rightmost - leftmost, 0, preferredWidth);
    const int left = std::clamp((width() - cardWidth) / 2, leftmost, std::max(leftmost, rightmost - cardWidth));
    int top = kTopClearance;
    const QRect column = m_reserved.overlayColumn;
    if (!column.isEmpty() && column.left() < left + cardWidth + shadow.right() && left - shadow.left() <= column.right())
        top = std::max(top, column.bottom() + 1 + kClearance + shadow.top());
    return QRect(left, top, cardWidth, std::max(0, bottom - top));
}
