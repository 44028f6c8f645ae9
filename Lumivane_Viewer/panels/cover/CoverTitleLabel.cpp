#include "CoverTitleLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

CoverTitleLabel::CoverTitleLabel(QFont font, QColor color, int maxLines, double minimumScale, QWidget *parent)
    : QWidget(parent)
    , m_font(std::move(font))
    , m_color(color)
    , m_maxLines(maxLines)
    , m_minimumScale(minimumScale)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CoverTitleLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_cachedWidth = -1;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QStringList CoverTitleLabel::wrappedLines(const QFont &font, int width, bool *fits) const
{
    QTextLayout layout(m_text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    bool brokeInsideWord = false;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const QString part = m_text.mid(line.textStart(), line.textLength());
        const int end = line.textStart() + line.textLength();
        // A word split across lines means the size is too large for it.
        if (end < m_text.size() && !m_text.at(end - 1).isSpace() && !m_text.at(end).isSpace())
            brokeInsideWord = true;
        lines.append(part.trimmed());
        // One line more than fits decides it: a title of any length costs a few lines.
        if (lines.size() > m_maxLines)
            break;
    }
    layout.endLayout();
    *fits = lines.size() <= m_maxLines && !brokeInsideWord;
    return lines;
}

CoverTitleLabel::Fit CoverTitleLabel::fitFor(int width) const
{
    if (width == m_cachedWidth)
        return m_cachedFit;
    const int full = m_font.pixelSize();
    const int smallest = int(std::lround(full * m_minimumScale));
    Fit fit;
    for (int size = full; size >= smallest; --size) {
        fit.font = m_font;
        fit.font.setPixelSize(size);
        bool fits = false;
        fit.lines = wrappedLines(fit.font, std::max(1, width), &fits);
        if (fits || size == smallest)
            break;
    }
    if (fit.lines.size() > m_maxLines) {
        const QFontMetricsF metrics(fit.font);
        fit.lines = fit.lines.mid(0, m_maxLines);
        fit.lines.last() = metrics.elidedText(fit.lines.last() + QStringLiteral("\u2026"), Qt::ElideRight, width);
    }
    fit.lineHeight = QFontMetricsF(fit.font).lineSpacing();
    m_cachedWidth = width;
    m_cachedFit = fit;
    return fit;
}

int CoverTitleLabel::fittedPixelSize() const
{
    return fitFor(width()).font.pixelSize();
}

int CoverTitleLabel::heightForWidth(int width) const
{
    if (m_text.isEmpty())
        return 0;
    const Fit fit = fitFor(width);
    return int(std::ceil(fit.lines.size() * fit.lineHeight));
}

QSize CoverTitleLabel::sizeHint() const
{
    const int width = int(std::ceil(QFontMetricsF(m_font).horizontalAdvance(m_text)));
    return QSize(width, heightForWidth(std::max(1, width)));
}

QSize CoverTitleLabel::minimumSizeHint() const
{
    return QSize(0, 0);
}

void CoverTitleLabel::paintEvent(QPaintEvent *)
{
    const Fit fit = fitFor(width());
    QPainter painter(this);
    painter.setFont(fit.font);
    painter.setPen(m_color);
    double top = 0;
    for (const QString &line : fit.lines) {
        painter.drawText(QRectF(0, top, width(), fit.lineHeight), Qt::AlignHCenter | Qt::AlignVCenter, line);
        top += fit.lineHeight;
    }
}
