#include "CoverFactChip.h"

#include "model/SystemFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kHorizontalPadding = 12;
constexpr double kVerticalPadding = 6;

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
    if (text == m_text)
        return;
    m_text = text;
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
