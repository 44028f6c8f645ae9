#include "StationThumbBar.h"

#include "NavigationStyle.h"
#include "ThumbnailPainting.h"
#include "l10n/L10n.h"
#include "model/AnimationCurve.h"
#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolImages.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCornerRadius = 6;
constexpr double kScrollSeconds = 0.35;
constexpr double kWheelStep = 60; // logical pixels per wheel notch
constexpr double kBadgeMargin = 4;
constexpr double kPlaceholderSymbolPoints = 13;

QFont captionFont()
{
    return tracked(systemFont(9, QFont::Bold), 0.8);
}

QFont nameFont(bool current)
{
    return systemFont(10, current ? QFont::Bold : QFont::Normal);
}

} // namespace

StationThumbBar::StationThumbBar(QList<Station> stations, std::optional<QUuid> currentStationID,
                                 StationPhotoResolver photoURLResolver, QHash<QUuid, QString> stationNumbers,
                                 QColor accent, L10n &l10n, std::shared_ptr<LumivaneImageCache> imageCache,
                                 QWidget *parent)
    : PaintedItemWidget(parent)
    , m_stations(std::move(stations))
    , m_currentStationID(currentStationID)
    , m_stationNumbers(std::move(stationNumbers))
    , m_accent(accent)
    , m_l10n(&l10n)
    , m_loader(new StationThumbnailLoader(std::move(imageCache), std::move(photoURLResolver), this))
    , m_scroll(new QVariantAnimation(this))
{
    installPaintedItemAccessibility();
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_scroll->setDuration(int(kScrollSeconds * 1000));
    m_scroll->setEasingCurve(easingCurve(AnimationCurve::easeOut));
    connect(m_scroll, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { setScrollOffset(value.toDouble()); });
    m_loader->onThumbnailReady = [this](const QUuid &) { update(); };
    connect(&l10n, &L10n::currentChanged, this, [this] { relayout(); });
    relayout();
}

void StationThumbBar::setCurrentStationID(const std::optional<QUuid> &stationID)
{
    if (stationID == m_currentStationID)
        return;
    m_currentStationID = stationID;
    update();
    if (!stationID)
        return;
    const QRectF cell = cellRect(*stationID);
    if (cell.isEmpty())
        return;
    scrollTo(m_scrollOffset + cell.center().x() - width() / 2.0);
}

void StationThumbBar::setAccent(const QColor &accent)
{
    m_accent = accent;
    update();
}

QRectF StationThumbBar::cellRect(const QUuid &stationID) const
{
    for (const ThumbStripCell &cell : m_layout.cells) {
        if (m_stations[cell.stationIndex].id == stationID)
            return cell.bounds().translated(-m_scrollOffset, 0);
    }
    return {};
}

QSize StationThumbBar::sizeHint() const
{
    return QSize(int(std::ceil(m_layout.contentWidth)), int(m_layout.height));
}

QSize StationThumbBar::minimumSizeHint() const
{
    return QSize(0, int(m_layout.height));
}

void StationThumbBar::relayout()
{
    const QFontMetricsF nameMetrics(nameFont(false));
    m_layout = layoutThumbStrip(m_stations, m_l10n->text(L10n::Key::stationThumbBarOther),
                                QFontMetricsF(captionFont()), nameMetrics.height());
    m_elidedNames.clear();
    setFixedHeight(int(m_layout.height));
    updateGeometry();
    setScrollOffset(m_scrollOffset);
    update();
}

void StationThumbBar::scrollTo(double offset)
{
    m_scroll->stop();
    m_scroll->setStartValue(m_scrollOffset);
    m_scroll->setEndValue(std::clamp(offset, 0.0, maxScrollOffset()));
    m_scroll->start();
}

void StationThumbBar::setScrollOffset(double offset)
{
    offset = std::clamp(offset, 0.0, maxScrollOffset());
    if (offset != m_scrollOffset) {
        m_scrollOffset = offset;
        update();
    }
    requestThumbnails();
}

double StationThumbBar::maxScrollOffset() const
{
    return std::max(0.0, m_layout.contentWidth - width());
}

QPair<qsizetype, qsizetype> StationThumbBar::visibleCells(double margin) const
{
    const double left = m_scrollOffset - margin;
    const double right = m_scrollOffset + width() + margin;
    const auto &cells = m_layout.cells;
    const auto first = std::partition_point(cells.cbegin(), cells.cend(), [&](const ThumbStripCell &cell) {
        return cell.thumbnail.right() < left;
    });
    const auto last = std::partition_point(first, cells.cend(), [&](const ThumbStripCell &cell) {
        return cell.thumbnail.left() <= right;
    });
    return {first - cells.cbegin(), last - cells.cbegin()};
}

void StationThumbBar::requestThumbnails()
{
    // What is in view first, then a strip's width either side for scrolling.
    const auto [first, last] = visibleCells(0);
    const auto [nearFirst, nearLast] = visibleCells(width());
    QList<QUuid> wanted;
    for (qsizetype index = first; index < last; ++index)
        wanted.append(m_stations[m_layout.cells[index].stationIndex].id);
    for (qsizetype index = nearFirst; index < nearLast; ++index) {
        if (index < first || index >= last)
            wanted.append(m_stations[m_layout.cells[index].stationIndex].id);
    }
    m_loader->want(wanted);
}

std::optional<int> StationThumbBar::paintedItemAt(QPointF position) const
{
    const QPointF content = position + QPointF(m_scrollOffset, 0);
    const auto [first, last] = visibleCells(0);
    for (qsizetype index = first; index < last; ++index) {
        if (m_layout.cells[index].bounds().contains(content))
            return int(index);
    }
    return std::nullopt;
}

void StationThumbBar::paintEvent(QPaintEvent *)
{
    m_loader->fitCells(ThumbStripLayout::thumbnailSize, devicePixelRatioF());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, height(), 0, 0);
    shade.setColorAt(0, withAlpha(Qt::black, 0.75));
    shade.setColorAt(1, withAlpha(Qt::black, 0.4));
    painter.fillRect(rect(), shade);

    painter.translate(-m_scrollOffset, 0);
    const QRectF visible(m_scrollOffset, 0, width(), height());
    for (const QRectF &separator : std::as_const(m_layout.separators)) {
        if (separator.intersects(visible))
            painter.fillRect(separator, withAlpha(Qt::white, 0.15));
    }
    painter.setFont(captionFont());
    painter.setPen(withAlpha(Qt::white, 0.55));
    for (const ThumbStripCaption &caption : std::as_const(m_layout.captions)) {
        if (caption.rect.intersects(visible))
            painter.drawText(caption.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption.text);
    }
    const auto [first, last] = visibleCells(0);
    for (qsizetype index = first; index < last; ++index)
        paintCell(painter, m_layout.cells[index]);
    if (const std::optional<int> focused = focusedPaintedItem(); focused && showsItemRing(*this, *focused)) {
        const QRectF cell = m_layout.cells[*focused].bounds().adjusted(-4, -4, 4, 4);
        KeyboardFocus::paintRing(painter, cell, kCornerRadius + 4);
    }
}

void StationThumbBar::paintCell(QPainter &painter, const ThumbStripCell &cell)
{
    const Station &station = m_stations[cell.stationIndex];
    const bool current = m_currentStationID == station.id;
    const QPixmap tile = m_loader->tile(station.id, cell.thumbnail.size(), devicePixelRatioF(), kCornerRadius);
    if (tile.isNull()) {
        paintRoundedSprite(painter, cell.thumbnail, kCornerRadius, QColor::fromRgbF(0.2f, 0.2f, 0.2f));
        drawSymbol(painter, cell.thumbnail.center(), u"photo", kPlaceholderSymbolPoints, withAlpha(Qt::white, 0.3));
    } else {
        painter.drawPixmap(cell.thumbnail.topLeft(), tile);
    }
    if (current)
        paintRoundedSprite(painter, cell.thumbnail, kCornerRadius, Qt::transparent, m_accent, 2.5);
    else
        paintRoundedSprite(painter, cell.thumbnail, kCornerRadius, Qt::transparent, withAlpha(Qt::white, 0.15), 1);
    if (const QString number = m_stationNumbers.value(station.id); !number.isEmpty())
        paintBadge(painter, cell.thumbnail, number);

    painter.setFont(nameFont(current));
    painter.setPen(current ? QColor(Qt::white) : withAlpha(Qt::white, 0.7));
    painter.drawText(cell.name, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                     elidedName(cell.stationIndex, current));
}

void StationThumbBar::paintBadge(QPainter &painter, const QRectF &thumbnail, const QString &number)
{
    const QFont font = systemFont(10, QFont::Bold);
    const QFontMetricsF metrics(font);
    const QRectF badge(thumbnail.topLeft() + QPointF(kBadgeMargin, kBadgeMargin),
                       QSizeF(metrics.horizontalAdvance(number) + 12, metrics.height() + 4));
    paintRoundedSprite(painter, badge, badge.height() / 2, withAlpha(Qt::black, 0.65));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter | Qt::TextSingleLine, number);
}

QString StationThumbBar::elidedName(qsizetype stationIndex, bool current)
{
    const double width = ThumbStripLayout::thumbnailSize.width();
    const QString name = displayLine(m_stations[stationIndex].localizedName(m_l10n->languageCode()));
    // One cell is bold at a time; the regular lines are kept.
    if (current)
        return QFontMetricsF(nameFont(true)).elidedText(name, Qt::ElideRight, width);
    auto known = m_elidedNames.constFind(stationIndex);
    if (known == m_elidedNames.constEnd())
        known = m_elidedNames.insert(stationIndex, QFontMetricsF(nameFont(false)).elidedText(name, Qt::ElideRight, width));
    return *known;
}

void StationThumbBar::resizeEvent(QResizeEvent *)
{
    setScrollOffset(m_scrollOffset);
}

void StationThumbBar::wheelEvent(QWheelEvent *event)
{
    const QPoint pixels = event->pixelDelta();
    const QPoint angle = event->angleDelta();
    const auto dominant = [](QPoint delta) { return std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y(); };
    const double delta = pixels.isNull() ? dominant(angle) / 120.0 * kWheelStep : dominant(pixels);
    m_scroll->stop();
    setScrollOffset(m_scrollOffset - delta);
    event->accept();
}

int StationThumbBar::paintedItemCount() const
{
    return int(m_layout.cells.size());
}

QString StationThumbBar::paintedItemName(int index) const
{
    return displayLine(m_stations[m_layout.cells[index].stationIndex].localizedName(m_l10n->languageCode()));
}

QRect StationThumbBar::paintedItemRect(int index) const
{
    return m_layout.cells[index].bounds().translated(-m_scrollOffset, 0).toAlignedRect();
}

bool StationThumbBar::isCurrentPaintedItem(int index) const
{
    return m_stations[m_layout.cells[index].stationIndex].id == m_currentStationID;
}

// A cell the keyboard reaches outside the strip's width comes to its middle.
void StationThumbBar::revealPaintedItem(int index)
{
    const QRectF cell = m_layout.cells[index].bounds().translated(-m_scrollOffset, 0);
    if (cell.left() < 0 || cell.right() > width())
        scrollTo(m_scrollOffset + cell.center().x() - width() / 2.0);
}

void StationThumbBar::pressPaintedItem(int index)
{
    if (onSelect)
        onSelect(m_stations[m_layout.cells[index].stationIndex].id);
}
