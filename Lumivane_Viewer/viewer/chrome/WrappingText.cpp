#include "WrappingText.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTextOption>

#include <cmath>

namespace {

// A text layout breaks lines only at the Unicode line separator; authors
// type ordinary line breaks.
QString withLineSeparators(QString text)
{
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return text;
}

} // namespace

WrappingText::WrappingText(const QFont &font, const QColor &color, QWidget *parent)
    : QWidget(parent)
    , m_font(font)
    , m_color(color)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappingText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_layout.reset();
    m_layoutWidth = -1;
    setAccessibleName(text);
    updateGeometry();
    update();
}

const QTextLayout &WrappingText::layoutFor(int width) const
{
    if (m_layout && width == m_layoutWidth)
        return *m_layout;
    m_layout = std::make_unique<QTextLayout>(withLineSeparators(m_text), m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    const double lineHeight = QFontMetricsF(m_font).height();
    double y = 0;
    m_layout->beginLayout();
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLineWidth(std::max(1, width));
        line.setPosition(QPointF(0, y));
        y += lineHeight;
    }
    m_layout->endLayout();
    m_layoutWidth = width;
    return *m_layout;
}

int WrappingText::heightForWidth(int width) const
{
    if (m_text.isEmpty())
        return int(std::ceil(QFontMetricsF(m_font).height()));
    const QTextLayout &layout = layoutFor(width);
    return int(std::ceil(layout.lineCount() * QFontMetricsF(m_font).height()));
}

QSize WrappingText::sizeHint() const
{
    return {kInfoCardContentWidth, heightForWidth(kInfoCardContentWidth)};
}

QSize WrappingText::minimumSizeHint() const
{
    return {1, int(std::ceil(QFontMetricsF(m_font).height()))};
}

void WrappingText::paintEvent(QPaintEvent *event)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(m_color);
    // Only the lines in the exposed part are drawn: a long text scrolls.
    layoutFor(width()).draw(&painter, QPointF(0, 0), {}, event->rect());
}
