#include "MapControlButton.h"

#include "widgets/KeyboardFocus.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kFace(255, 255, 255, 235);
const QColor kInk(40, 44, 52);
const QColor kNorth(214, 64, 52);

} // namespace

MapControlButton::MapControlButton(Glyph glyph, QWidget *parent)
    : QAbstractButton(parent)
    , m_glyph(glyph)
{
    KeyboardFocus::makeReachable(*this);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
}

void MapControlButton::setHeading(double degrees)
{
    m_heading = degrees;
    update();
}

QSize MapControlButton::sizeHint() const
{
    return QSize(side, side);
}

void MapControlButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(0.7);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.setBrush(kFace);
    painter.drawRoundedRect(box, 6, 6);
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, QRectF(rect()), 6);
    if (m_glyph == Glyph::compass) {
        paintCompass(painter, box);
        return;
    }
    painter.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center();
    painter.drawLine(c - QPointF(6, 0), c + QPointF(6, 0));
    if (m_glyph == Glyph::plus)
        painter.drawLine(c - QPointF(0, 6), c + QPointF(0, 6));
}

void MapControlButton::paintCompass(QPainter &painter, const QRectF &box) const
{
    painter.translate(box.center());
    painter.rotate(m_heading);
    QPainterPath north;
    north.moveTo(0, -9);
    north.lineTo(4, 0);
    north.lineTo(-4, 0);
    north.closeSubpath();
    QPainterPath south;
    south.moveTo(0, 9);
    south.lineTo(4, 0);
    south.lineTo(-4, 0);
    south.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNorth);
    painter.drawPath(north);
    painter.setBrush(kInk);
    painter.drawPath(south);
}
