#include "StationCardGrid.h"

#include "LumivaneCursorKind.h"
#include "NavigationStyle.h"
#include "ThumbnailPainting.h"
#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"

#include <QFontMetricsF>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCardRadius = 10;
constexpr double kThumbnailRadius = 8;
constexpr int kScrollStep = 20;

QFont headingFont()
{
    return tracked(systemFont(13, QFont::DemiBold), 1.2);
}

QFont cardNameFont()
{
    return systemFont(12, QFont::Medium);
}

QRectF thumbnailRect(const QRectF &card)
{
    const double padding = CardGridLayout::cardPadding;
    return QRectF(card.left() + padding, card.top() + padding, card.width() - 2 * padding,
                  CardGridLayout::thumbnailHeight);
}

QRectF nameRect(const QRectF &card)
{
    const QRectF thumbnail = thumbnailRect(card);
    const double top = thumbnail.bottom() + CardGridLayout::cardPadding;
    return QRectF(thumbnail.left(), top, thumbnail.width(), card.bottom() - CardGridLayout::cardPadding - top);
}

} // namespace

StationCardGrid::StationCardGrid(QList<Station> stations, std::optional<QUuid> currentStationID,
                                 StationPhotoResolver photoURLResolver, QColor accent, L10n &l10n,
                                 std::shared_ptr<LumivaneImageCache> imageCache, QWidget *parent)
    : PaintedItemWidget(parent)
    , m_stations(std::move(stations))
    , m_currentStationID(currentStationID)
    , m_accent(accent)
    , m_l10n(&l10n)
    , m_loader(new StationThumbnailLoader(std::move(imageCache), std::move(photoURLResolver), this))
{
    installPaintedItemAccessibility();
    // Cards are clicked, or reached with Tab; a click leaves the keys with
    // the search field or the viewer.
    setFocusPolicy(Qt::TabFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(kScrollStep);
    styleScrollBar(verticalScrollBar());
    m_loader->onThumbnailReady = [this](const QUuid &stationID) {
        if (const QRectF card = cardRect(stationID); !card.isEmpty())
            viewport()->update(card.toAlignedRect());
    };
}

StationCardGrid::~StationCardGrid()
{
    setHovered(std::nullopt);
}

void StationCardGrid::setGroups(QList<CardGroup> groups)
{
    m_groups = std::move(groups);
    relayout();
    verticalScrollBar()->setValue(0);
}

void StationCardGrid::retranslate()
{
    m_elidedNames.clear();
    viewport()->update();
}

void StationCardGrid::relayout()
{
    const double previousColumnWidth = m_layout.columnWidth;
    m_layout = layoutCardGrid(m_groups, viewport()->width(), QFontMetricsF(headingFont()).height(),
                              QFontMetricsF(cardNameFont()).height());
    if (m_layout.columnWidth != previousColumnWidth)
        m_elidedNames.clear();
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, int(std::ceil(m_layout.contentHeight)) - viewport()->height()));
    setHovered(std::nullopt);
    requestThumbnails();
    viewport()->update();
}

double StationCardGrid::scrollY() const
{
    return verticalScrollBar()->value();
}

QRectF StationCardGrid::cardRect(const QUuid &stationID) const
{
    const auto [first, last] = cardsBetween(scrollY(), scrollY() + viewport()->height());
    for (qsizetype index = first; index < last; ++index) {
        const GridCard &card = m_layout.cards[index];
        if (m_stations[card.stationIndex].id == stationID)
            return card.rect.translated(0, -scrollY());
    }
    return {};
}

QPair<qsizetype, qsizetype> StationCardGrid::cardsBetween(double top, double bottom) const
{
    const auto &cards = m_layout.cards;
    const auto first = std::partition_point(cards.cbegin(), cards.cend(),
                                            [&](const GridCard &card) { return card.rect.bottom() < top; });
    const auto last = std::partition_point(first, cards.cend(),
                                           [&](const GridCard &card) { return card.rect.top() <= bottom; });
    return {first - cards.cbegin(), last - cards.cbegin()};
}

std::optional<int> StationCardGrid::paintedItemAt(QPointF viewportPosition) const
{
    const QPointF content = viewportPosition + QPointF(0, scrollY());
    const auto [first, last] = cardsBetween(content.y(), content.y());
    for (qsizetype index = first; index < last; ++index) {
        if (m_layout.cards[index].rect.contains(content))
            return int(index);
    }
    return std::nullopt;
}

void StationCardGrid::requestThumbnails()
{
    // The cards in view first, then a screenful below and above.
    const double top = scrollY();
    const double height = viewport()->height();
    const auto [first, last] = cardsBetween(top, top + height);
    const auto [nearFirst, nearLast] = cardsBetween(top - height, top + 2 * height);
    QList<QUuid> wanted;
    for (qsizetype index = first; index < last; ++index)
        wanted.append(m_stations[m_layout.cards[index].stationIndex].id);
    for (qsizetype index = last; index < nearLast; ++index)
        wanted.append(m_stations[m_layout.cards[index].stationIndex].id);
    for (qsizetype index = nearFirst; index < first; ++index)
        wanted.append(m_stations[m_layout.cards[index].stationIndex].id);
    m_loader->want(wanted);
}

void StationCardGrid::paintEvent(QPaintEvent *)
{
    m_loader->fitCells(QSizeF(CardGridLayout::maximumColumnWidth - 2 * CardGridLayout::cardPadding,
                              CardGridLayout::thumbnailHeight),
                       devicePixelRatioF());
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(0, -scrollY());
    const QRectF visible(0, scrollY(), viewport()->width(), viewport()->height());
    painter.setFont(headingFont());
    painter.setPen(withAlpha(Qt::white, 0.6));
    for (const GridHeading &heading : std::as_const(m_layout.headings)) {
        if (heading.rect.intersects(visible))
            painter.drawText(heading.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             displayLine(heading.text).toUpper());
    }
    const auto [first, last] = cardsBetween(visible.top(), visible.bottom());
    painter.setFont(cardNameFont());
    for (qsizetype index = first; index < last; ++index)
        paintCard(painter, m_layout.cards[index]);
    if (const std::optional<int> focused = focusedPaintedItem(); focused && showsItemRing(*this, *focused))
        KeyboardFocus::paintRing(painter, m_layout.cards[*focused].rect, kCardRadius);
}

void StationCardGrid::paintCard(QPainter &painter, const GridCard &card)
{
    const Station &station = m_stations[card.stationIndex];
    const bool current = m_currentStationID == station.id;
    QColor tint = m_accent;
    tint.setAlphaF(0.15f);
    paintRoundedSprite(painter, card.rect, kCardRadius, current ? tint : withAlpha(Qt::white, 0.04));

    const QRectF thumbnail = thumbnailRect(card.rect);
    if (const QPixmap tile = m_loader->tile(station.id, thumbnail.size(), devicePixelRatioF(), kThumbnailRadius);
        tile.isNull())
        paintRoundedSprite(painter, thumbnail, kThumbnailRadius, Qt::black);
    else
        painter.drawPixmap(thumbnail.topLeft(), tile);
    if (current)
        paintRoundedSprite(painter, thumbnail, kThumbnailRadius, Qt::transparent, m_accent, 2.5);
    else
        paintRoundedSprite(painter, thumbnail, kThumbnailRadius, Qt::transparent, withAlpha(Qt::white, 0.15), 1);

    painter.setPen(Qt::white);
    painter.drawText(nameRect(card.rect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     elidedName(card.stationIndex));
}

QString StationCardGrid::elidedName(qsizetype stationIndex)
{
    auto known = m_elidedNames.constFind(stationIndex);
    if (known == m_elidedNames.constEnd()) {
        const QString name = displayLine(m_stations[stationIndex].localizedName(m_l10n->languageCode()));
        const double width = m_layout.columnWidth - 2 * CardGridLayout::cardPadding;
        known = m_elidedNames.insert(stationIndex,
                                     QFontMetricsF(cardNameFont()).elidedText(name, Qt::ElideRight, width));
    }
    return *known;
}

void StationCardGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void StationCardGrid::scrollContentsBy(int, int)
{
    requestThumbnails();
    viewport()->update();
}

void StationCardGrid::mouseMoveEvent(QMouseEvent *event)
{
    setHovered(paintedItemAt(event->position()));
}

bool StationCardGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        setHovered(std::nullopt);
    return QAbstractScrollArea::viewportEvent(event);
}

void StationCardGrid::hideEvent(QHideEvent *event)
{
    // A card that disappears under the pointer gives its cursor back.
    setHovered(std::nullopt);
    QAbstractScrollArea::hideEvent(event);
}

void StationCardGrid::setHovered(std::optional<int> card)
{
    if (card == m_hoveredCard)
        return;
    if (m_hoveredCard)
        setHoverCursor(false, LumivaneCursorKind::link);
    m_hoveredCard = card;
    if (m_hoveredCard)
        setHoverCursor(true, LumivaneCursorKind::link);
}

int StationCardGrid::paintedItemCount() const
{
    return int(m_layout.cards.size());
}

QString StationCardGrid::paintedItemName(int index) const
{
    const Station &station = m_stations[m_layout.cards[index].stationIndex];
    return m_l10n->localizedFormat(L10n::Key::goToStationA11y, displayLine(station.localizedName(m_l10n->languageCode())));
}

QRect StationCardGrid::paintedItemRect(int index) const
{
    const QRectF inViewport = m_layout.cards[index].rect.translated(0, -scrollY());
    return inViewport.translated(viewport()->pos()).toAlignedRect();
}

bool StationCardGrid::isCurrentPaintedItem(int index) const
{
    return m_stations[m_layout.cards[index].stationIndex].id == m_currentStationID;
}

void StationCardGrid::focusInEvent(QFocusEvent *event)
{
    PaintedItemWidget::focusInEvent(event);
    viewport()->update();
}

void StationCardGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// A card the keyboard reaches above or below the view scrolls just into it.
void StationCardGrid::revealPaintedItem(int index)
{
    const QRectF card = m_layout.cards[index].rect;
    QScrollBar *bar = verticalScrollBar();
    if (card.top() < scrollY())
        bar->setValue(int(std::floor(card.top())));
    else if (card.bottom() > scrollY() + viewport()->height())
        bar->setValue(int(std::ceil(card.bottom())) - viewport()->height());
    viewport()->update();
}

void StationCardGrid::pressPaintedItem(int index)
{
    if (onChoose)
        onChoose(m_stations[m_layout.cards[index].stationIndex].id);
}
