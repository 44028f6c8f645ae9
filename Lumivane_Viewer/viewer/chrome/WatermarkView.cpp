#include "WatermarkView.h"

#include "model/SystemFont.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr double kTrailingMargin = 20;
constexpr double kBottomMargin = 40;
constexpr double kHorizontalPadding = 12;
constexpr double kVerticalPadding = 6;

// Spaces and tabs only: line breaks of the author's text stay.
QString trimmedOfSpaces(const QString &text)
{
    const auto isSpace = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

WatermarkView::WatermarkView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void WatermarkView::setWatermark(const QString &text, double opacity)
{
    ShadowedTextStyle style;
    style.font = systemFont(11, QFont::Medium, FontDesign::serif, true);
    style.color = QColor::fromRgbF(1, 1, 1, float(std::clamp(opacity, 0.0, 1.0)));
    style.alignment = Qt::AlignLeft;
    style.shadow = DropShadow{QColor::fromRgbF(0, 0, 0, 0.5f), 2, QPointF(0, 1)};
    m_text.setText(trimmedOfSpaces(text), style);
    setAccessibleName(m_text.text());
    update();
}

void WatermarkView::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    const double room = width() - kTrailingMargin - 2 * kHorizontalPadding;
    if (room <= 0)
        return;
    const QSizeF size = m_text.size(room);
    QPainter painter(this);
    const QPointF topLeft(width() - kTrailingMargin - kHorizontalPadding - size.width(),
                          height() - kBottomMargin - kVerticalPadding - size.height());
    m_text.paint(painter, topLeft, size.width());
}
