#include "FloorplanPanel.h"

#include "NavigationStyle.h"
#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {

constexpr double kCornerRadius = 10;
constexpr double kHaloGrowth = 12;
constexpr QMarginsF kBandInsets{10, 6, 10, 6};

QFont bandFont()
{
    return systemFont(11, QFont::Bold);
}

} // namespace

FloorplanPanel::FloorplanPanel(QList<Station> stations, QColor accent, L10n &l10n, QWidget *parent)
    : PaintedItemWidget(parent)
    , m_accent(accent)
    , m_l10n(&l10n)
    , m_stations(std::move(stations))
{
    installPaintedItemAccessibility();
    setFocusPolicy(Qt::TabFocus);
}

void FloorplanPanel::setPlan(FloorplanImage plan)
{
    m_plan = std::move(plan);
    updateGeometry();
    update();
}

void FloorplanPanel::setMarkers(QString levelBand, QList<FloorplanMarker> markers)
{
    m_levelBand = displayLine(levelBand);
    m_markers = std::move(markers);
    forgetItemPress();
    tellRenamedItems(*this);
    updateGeometry();
    update();
}

void FloorplanPanel::setAccent(const QColor &accent)
{
    m_accent = accent;
    update();
}

void FloorplanPanel::setOpacity(double opacity)
{
    m_opacity = opacity;
    update();
}

double FloorplanPanel::bandHeight() const
{
    if (m_levelBand.isEmpty())
        return 0;
    return QFontMetricsF(bandFont()).height() + kBandInsets.top() + kBandInsets.bottom();
}

QRectF FloorplanPanel::planRect() const
{
    return QRectF(0, bandHeight(), width, width / m_plan.aspectRatio);
}

double FloorplanPanel::contentHeight() const
{
    return planRect().bottom();
}

QSize FloorplanPanel::sizeHint() const
{
    return QSize(int(width), int(std::ceil(contentHeight())));
}

QRectF FloorplanPanel::markerRect(const FloorplanMarker &marker) const
{
    const QRectF plan = planRect();
    const QPointF centre(plan.left() + plan.width() * marker.position.x(),
                         plan.top() + plan.height() * marker.position.y());
    const double side = markerLook(marker.isCurrent, marker.isStart, m_accent).diameter
        + (marker.isCurrent ? kHaloGrowth : 0);
    return QRectF(centre - QPointF(side, side) / 2, QSizeF(side, side));
}

std::optional<QPointF> FloorplanPanel::markerCentre(const QUuid &stationID) const
{
    for (const FloorplanMarker &marker : m_markers) {
        if (m_stations[marker.stationIndex].id == stationID)
            return markerRect(marker).center();
    }
    return std::nullopt;
}

std::optional<int> FloorplanPanel::paintedItemAt(QPointF position) const
{
    if (!rect().contains(position.toPoint()))
        return std::nullopt;
    // The last drawn marker lies on top.
    for (int index = int(m_markers.size()) - 1; index >= 0; --index) {
        const QRectF area = markerRect(m_markers[index]);
        if (QLineF(area.center(), position).length() <= area.width() / 2)
            return index;
    }
    return std::nullopt;
}

QString FloorplanPanel::stationName(const FloorplanMarker &marker) const
{
    return displayLine(m_stations[marker.stationIndex].localizedName(m_l10n->languageCode()));
}

void FloorplanPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(m_opacity);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.setClipPath(shape);
    painter.fillRect(rect(), QColor::fromRgbF(0.1f, 0.1f, 0.1f));
    if (!m_levelBand.isEmpty()) {
        const QRectF band(0, 0, width, bandHeight());
        painter.fillRect(band, withAlpha(Qt::black, 0.55));
        painter.setFont(bandFont());
        painter.setPen(withAlpha(Qt::white, 0.75));
        painter.drawText(band.marginsRemoved(kBandInsets), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_levelBand);
    }
    painter.drawImage(planRect(), m_plan.image);
    for (const FloorplanMarker &marker : std::as_const(m_markers))
        paintMarker(painter, marker);
    if (const std::optional<int> focused = focusedPaintedItem(); focused && showsItemRing(*this, *focused)) {
        const QRectF marker = markerRect(m_markers[*focused]).adjusted(-3, -3, 3, 3);
        KeyboardFocus::paintRing(painter, marker, marker.width() / 2);
    }
}

void FloorplanPanel::paintMarker(QPainter &painter, const FloorplanMarker &marker)
{
    const MarkerLook look = markerLook(marker.isCurrent, marker.isStart, m_accent);
    const QPointF centre = markerRect(marker).center();
    painter.setPen(Qt::NoPen);
    if (look.halo) {
        painter.setBrush(*look.halo);
        painter.drawEllipse(centre, (look.diameter + kHaloGrowth) / 2, (look.diameter + kHaloGrowth) / 2);
    }
    painter.setBrush(look.disc);
    painter.drawEllipse(centre, look.diameter / 2, look.diameter / 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, look.ringWidth));
    painter.drawEllipse(centre, look.diameter / 2, look.diameter / 2);
    painter.setFont(systemFont(look.labelPoints, QFont::Bold));
    painter.setPen(look.label);
    const QRectF disc(centre - QPointF(look.diameter, look.diameter) / 2, QSizeF(look.diameter, look.diameter));
    painter.drawText(disc, Qt::AlignCenter | Qt::TextSingleLine, marker.label);
}

bool FloorplanPanel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (const auto marker = paintedItemAt(help->pos()))
            QToolTip::showText(help->globalPos(), stationName(m_markers[*marker]), this,
                               markerRect(m_markers[*marker]).toAlignedRect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

int FloorplanPanel::paintedItemCount() const
{
    return int(m_markers.size());
}

QString FloorplanPanel::paintedItemName(int index) const
{
    return stationName(m_markers[index]);
}

QRect FloorplanPanel::paintedItemRect(int index) const
{
    return markerRect(m_markers[index]).toAlignedRect();
}

bool FloorplanPanel::isCurrentPaintedItem(int index) const
{
    return m_markers[index].isCurrent;
}

void FloorplanPanel::pressPaintedItem(int index)
{
    if (onSelectStation)
        onSelectStation(m_stations[m_markers[index].stationIndex].id);
}
