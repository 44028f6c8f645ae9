#include "CapsuleButton.h"

#include "KeyboardFocus.h"
#include "SymbolButton.h"
#include "SymbolImages.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QMargins roundedOut(const QMarginsF &margins)
{
    return QMargins(int(std::ceil(margins.left())), int(std::ceil(margins.top())), int(std::ceil(margins.right())),
                    int(std::ceil(margins.bottom())));
}

} // namespace

CapsuleButton::CapsuleButton(CapsuleLook look, const QString &text, QWidget *parent)
    : QAbstractButton(parent)
{
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(text);
    setLook(std::move(look));
}

void CapsuleButton::setLook(CapsuleLook look)
{
    m_look = std::move(look);
    setFont(m_look.font);
    setContentsMargins(m_look.shadow ? roundedOut(shadowMargins(*m_look.shadow)) : QMargins());
    updateGeometry();
    update();
}

QSizeF CapsuleButton::contentSize() const
{
    const QFontMetricsF metrics(m_look.font);
    const bool hasSymbol = !m_look.symbol.isEmpty();
    const bool hasText = !text().isEmpty();
    const double symbolSide = hasSymbol ? symbolBoxSide(m_look.symbolPoints) : 0;
    const double textWidth = hasText ? metrics.horizontalAdvance(text()) : 0;
    const double spacing = hasSymbol && hasText ? m_look.spacing : 0;
    const double height = std::max(symbolSide, hasText || !hasSymbol ? metrics.height() : 0.0);
    return {symbolSide + spacing + textWidth, height};
}

QSize CapsuleButton::sizeHint() const
{
    const QSizeF content = contentSize();
    const QSizeF capsule(content.width() + 2 * m_look.horizontalPadding, content.height() + 2 * m_look.verticalPadding);
    const QMargins margins = contentsMargins();
    return QSize(int(std::ceil(capsule.width())) + margins.left() + margins.right(),
                 int(std::ceil(capsule.height())) + margins.top() + margins.bottom());
}

QSize CapsuleButton::minimumSizeHint() const
{
    return sizeHint();
}

void CapsuleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(m_look.disabledOpacity);
    else if (isDown())
        painter.setOpacity(kPressedOpacity);
    const QRectF capsule(contentsRect());
    paintCapsule(painter, capsule, m_look);
    paintContent(painter, capsule);
    if (KeyboardFocus::showsRing(*this))
        paintFocus(painter, capsule);
}

void CapsuleButton::paintFocus(QPainter &painter, const QRectF &capsule) const
{
    const bool bareText = m_look.background.alpha() == 0 && !m_look.outline && m_look.horizontalPadding <= 0;
    if (!bareText) {
        KeyboardFocus::paintRing(painter, capsule, capsule.height() / 2);
        return;
    }
    // A ring would cross the letters: the text is underlined in its own colour.
    painter.fillRect(QRectF(capsule.left(), capsule.bottom() - 2, capsule.width(), 2), m_look.foreground);
}

// Symbol and text side by side, the pair centred in the capsule, each
// centred vertically on the capsule's middle line.
void CapsuleButton::paintContent(QPainter &painter, const QRectF &capsule) const
{
    const QSizeF content = contentSize();
    const double available = std::max(0.0, capsule.width() - 2 * m_look.horizontalPadding);
    double left = capsule.center().x() - std::min(content.width(), available) / 2;
    const double middle = capsule.center().y();
    if (!m_look.symbol.isEmpty()) {
        const double side = symbolBoxSide(m_look.symbolPoints);
        drawSymbol(painter, QPointF(left + side / 2, middle), m_look.symbol, m_look.symbolPoints, m_look.foreground);
        left += side + (text().isEmpty() ? 0 : m_look.spacing);
    }
    if (text().isEmpty())
        return;
    const QFontMetricsF metrics(m_look.font);
    const double textWidth = std::max(0.0, capsule.center().x() + std::min(content.width(), available) / 2 - left);
    const QString shown = metrics.elidedText(text(), Qt::ElideRight, textWidth + 0.5);
    painter.setFont(m_look.font);
    painter.setPen(m_look.foreground);
    // A baseline between device pixels would blur the text vertically.
    const qreal ratio = devicePixelRatio();
    const double baseline = std::round((middle - metrics.height() / 2 + metrics.ascent()) * ratio) / ratio;
    painter.drawText(QPointF(left, baseline), shown);
}
