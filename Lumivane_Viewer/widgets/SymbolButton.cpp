#include "SymbolButton.h"

#include "KeyboardFocus.h"
#include "SymbolImages.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

SymbolButton::SymbolButton(SymbolButtonLook look, QWidget *parent)
    : QAbstractButton(parent)
    , m_look(std::move(look))
{
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolButton::setLook(SymbolButtonLook look)
{
    m_look = std::move(look);
    updateGeometry();
    update();
}

void SymbolButton::setSymbol(const QString &name)
{
    m_look.symbol = name;
    update();
}

QSize SymbolButton::sizeHint() const
{
    const int side = int(std::ceil(m_look.side));
    return {side, side};
}

void SymbolButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    const QPointF centre = QRectF(rect()).center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_look.discColor);
    painter.drawEllipse(centre, m_look.side / 2, m_look.side / 2);
    const QColor color = isEnabled() ? m_look.symbolColor : m_look.disabledSymbolColor.value_or(m_look.symbolColor);
    drawSymbol(painter, centre, m_look.symbol, m_look.symbolPoints, color);
    if (KeyboardFocus::showsRing(*this)) {
        // Around the whole frame when the disc is smaller (a disc that grows
        // when chosen), so that the ring stays where it was.
        const double side = std::min(width(), height());
        QRectF ring(0, 0, side, side);
        ring.moveCenter(centre);
        KeyboardFocus::paintRing(painter, ring, side / 2);
    }
}
