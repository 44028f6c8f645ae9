#include "RoundedPanel.h"

#include "ThumbnailPainting.h"

#include <QPainter>

RoundedPanel::RoundedPanel(QColor color, double cornerRadius, QWidget *parent)
    : QWidget(parent)
    , m_color(color)
    , m_cornerRadius(cornerRadius)
{
}

void RoundedPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintRoundedFill(painter, QRectF(rect()), m_cornerRadius, m_color);
}
