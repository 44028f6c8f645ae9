#include "CoverLinkButton.h"

#include "media/symbols/KeyboardFocus.h"
#include "media/symbols/SymbolButton.h"
#include "media/symbols/SymbolImages.h"
#include "model/SystemFont.h"

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
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

QSize CoverLinkButton::sizeHint() const
{
    const QFontMetricsF metrics(linkFont());
    const double side = symbolBoxSide(kSymbolPoints);
    return QSize(int(std::ceil(side + kSpacing + metrics.horizontalAdvance(text()))),
                 int(std::ceil(std::max(side, metrics.height()))));
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
    painter.drawText(QRectF(side + kSpacing, 0, width() - side - kSpacing, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
    // The text runs to the edge: it is underlined rather than ringed.
    if (KeyboardFocus::showsRing(*this))
        painter.fillRect(QRectF(side + kSpacing, height() - 1.5, width() - side - kSpacing, 1.5), kInk);
}
