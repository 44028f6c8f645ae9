#include "CoverLinkButton.h"

#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolImages.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSymbolPoints = 11;
constexpr double kSpacing = 6;
const QColor kInk(255, 255, 255, qRound(0.78 * 255));

QFont linkFont()
{
    return systemFont(12);
}

} // namespace

CoverLinkButton::CoverLinkButton(QString symbol, const QString &text, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(std::move(symbol))
{
    setText(text);
    setAccessibleName(text);
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

QSize CoverLinkButton::sizeHint() const
{
    const QFontMetricsF metrics(linkFont());
    const double side = symbolBoxSide(kSymbolPoints);
    return QSize(int(std::ceil(side + kSpacing + metrics.horizontalAdvance(text()))),
                 int(std::ceil(std::max(side, metrics.height()))));
}

QSize CoverLinkButton::minimumSizeHint() const
{
    const QFontMetricsF metrics(linkFont());
    const double side = symbolBoxSide(kSymbolPoints);
    return QSize(int(std::ceil(side + kSpacing + metrics.horizontalAdvance(QChar(0x2026)))), sizeHint().height());
}

void CoverLinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    const double side = symbolBoxSide(kSymbolPoints);
    const double middle = height() / 2.0;
    drawSymbol(painter, QPointF(side / 2, middle), m_symbol, kSymbolPoints, kInk);
    painter.setFont(linkFont());
    painter.setPen(kInk);
    const QRectF room(side + kSpacing, 0, width() - side - kSpacing, height());
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(linkFont()).elidedText(text(), Qt::ElideRight, room.width()));
    // The text runs to the edge: it is underlined rather than ringed.
    if (KeyboardFocus::showsRing(*this))
        painter.fillRect(QRectF(room.left(), height() - 1.5, room.width(), 1.5), kInk);
}
