#include "SymbolGlyph.h"

#include "widgets/SymbolImages.h"

#include <QPainter>

#include <cmath>

SymbolGlyph::SymbolGlyph(QString symbol, double points, QColor color, QWidget *parent)
    : QWidget(parent)
    , m_symbol(std::move(symbol))
    , m_points(points)
    , m_color(color)
{
    const int side = int(std::ceil(symbolBoxSide(points)));
    setFixedSize(side, side);
}

void SymbolGlyph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawSymbol(painter, QRectF(rect()).center(), m_symbol, m_points, m_color);
}
