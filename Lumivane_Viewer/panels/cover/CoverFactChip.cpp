#include "CoverFactChip.h"

#include "CoverColumnFrame.h"

#include "model/SystemFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kHorizontalPadding = 12;
constexpr double kVerticalPadding = 6;

// Three chips side by side fit the widest column, whatever their texts (an
// area of 1e308 has 309 digits).
constexpr double kMaxWidth = (CoverColumnFrame::maxColumnWidth - 2 * CoverFactChip::spacing) / 3.0;

QFont chipFont()
{
    return systemFont(12, QFont::Medium);
}

} // namespace

CoverFactChip::CoverFactChip(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CoverFactChip::setText(const QString &text)
{
    const QString shown =
        QFontMetricsF(chipFont()).elidedText(text, Qt::ElideRight, kMaxWidth - 2 * kHorizontalPadding);
    if (shown == m_text && text == accessibleName())
        return;
    m_text = shown;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize CoverFactChip::sizeHint() const
{
    const QFontMetricsF metrics(chipFont());
    return QSize(int(std::ceil(metrics.horizontalAdvance(m_text) + 2 * kHorizontalPadding)),
                 int(std::ceil(metrics.height() + 2 * kVerticalPadding)));
}

void CoverFactChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, qRound(0.1 * 255)));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.setFont(chipFont());
    painter.setPen(QColor(255, 255, 255, qRound(0.85 * 255)));
    painter.drawText(capsule, Qt::AlignCenter, m_text);
}
