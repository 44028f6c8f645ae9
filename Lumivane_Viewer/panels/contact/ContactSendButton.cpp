#include "ContactSendButton.h"

#include "model/Palette.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolButton.h"
#include "widgets/SymbolImages.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kVerticalPadding = 12;
constexpr double kSpacing = 8;
constexpr double kSymbolPoints = 12;
// The platform's small spinner at 0.7 of its size.
constexpr double kSpinnerSide = 16 * 0.7;
const QColor kDisabledGray(0x8e, 0x8e, 0x93);

} // namespace

ContactSendButton::ContactSendButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFont(systemFont(13, QFont::DemiBold));
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    // One turn a second in twelve steps: a repaint only when the spoke moves.
    m_spin.setInterval(1000 / 12);
    connect(&m_spin, &QTimer::timeout, this, [this] {
        m_leadingSpoke = (m_leadingSpoke + 1) % 12;
        update();
    });
}

void ContactSendButton::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_leadingSpoke = 0;
    if (m_busy)
        m_spin.start();
    else
        m_spin.stop();
    update();
}

QSize ContactSendButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const double leading = symbolBoxSide(kSymbolPoints);
    const double height = std::max(leading, metrics.height()) + 2 * kVerticalPadding;
    return {int(std::ceil(leading + kSpacing + metrics.horizontalAdvance(text()) + 24)), int(std::ceil(height))};
}

QSize ContactSendButton::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void ContactSendButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void ContactSendButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    const QRectF capsule(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? paletteGold() : kDisabledGray);
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);

    const QFontMetricsF metrics(font());
    const double leading = m_busy ? kSpinnerSide : symbolBoxSide(kSymbolPoints);
    const double textWidth = std::min(metrics.horizontalAdvance(text()), capsule.width() - leading - kSpacing - 24);
    const double left = capsule.center().x() - (leading + kSpacing + textWidth) / 2;
    const QPointF leadingCentre(left + leading / 2, capsule.center().y());
    if (m_busy)
        paintSpinner(painter, leadingCentre);
    else
        drawSymbol(painter, leadingCentre, u"paperplane.fill", kSymbolPoints, Qt::white);
    painter.setPen(Qt::white);
    painter.setFont(font());
    const QRectF textRect(left + leading + kSpacing, capsule.top(), textWidth + 1, capsule.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(text(), Qt::ElideRight, textWidth + 1));
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, capsule, capsule.height() / 2);
}

// Twelve spokes fading behind the leading one, like the platform's spinner.
void ContactSendButton::paintSpinner(QPainter &painter, QPointF centre) const
{
    const double outer = kSpinnerSide / 2;
    painter.save();
    painter.translate(centre);
    for (int spoke = 0; spoke < 12; ++spoke) {
        const int age = (m_leadingSpoke - spoke + 12) % 12;
        QColor color(Qt::white);
        color.setAlphaF(1.0 - age / 14.0);
        painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -outer * 0.45), QPointF(0, -outer));
        painter.rotate(30);
    }
    painter.restore();
}
