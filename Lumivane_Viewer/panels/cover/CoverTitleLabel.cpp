#include "CoverTitleLabel.h"

#include "model/DisplayText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

// No glyph a title shows is narrower than this, in ems: a size's lines hold
// at most so many characters, and only those are laid out.
constexpr double kNarrowestGlyph = 0.1;

} // namespace

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
    const QString shown = displayText(text, DisplayLength::title);
    if (shown == m_text)
        return;
    m_text = shown;
    m_oneLineWidth = QFontMetricsF(m_font).horizontalAdvance(m_text);
    m_cachedWidth = -1;
    setAccessibleName(shown);
    updateGeometry();
    update();
}

CoverTitleLabel::Wrap CoverTitleLabel::wrap(const QFont &font, int width) const
{
    const double perLine = width / (kNarrowestGlyph * font.pixelSize());
    const qsizetype room = qsizetype(std::ceil((m_maxLines + 1) * perLine));
    const QString text = m_text.left(room);
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    Wrap wrap;
    bool brokeInsideWord = false;
    int end = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        end = line.textStart() + line.textLength();
        // A word split across lines means the size is too large for it.
        if (end < m_text.size() && !m_text.at(end - 1).isSpace() && !m_text.at(end).isSpace())
            brokeInsideWord = true;
        wrap.lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
        // One line more than fits decides it.
        if (wrap.lines.size() > m_maxLines)
            break;
    }
    layout.endLayout();
    wrap.cut = wrap.lines.size() > m_maxLines || end < m_text.size();
    wrap.fits = !wrap.cut && !brokeInsideWord;
    return wrap;
}

CoverTitleLabel::Fit CoverTitleLabel::fitFor(int width) const
{
    if (width == m_cachedWidth)
        return m_cachedFit;
    const int full = m_font.pixelSize();
    const int smallest = int(std::lround(full * m_minimumScale));
    Fit fit;
    Wrap wrapped;
    for (int size = full; size >= smallest; --size) {
        fit.font = m_font;
        fit.font.setPixelSize(size);
        wrapped = wrap(fit.font, std::max(1, width));
        if (wrapped.fits || size == smallest)
            break;
    }
    fit.lines = wrapped.lines.mid(0, m_maxLines);
    if (wrapped.cut && !fit.lines.isEmpty()) {
        const QFontMetricsF metrics(fit.font);
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

// As wide as the text on one line at its full size, which is then its height:
// no layout needed.
QSize CoverTitleLabel::sizeHint() const
{
    if (m_text.isEmpty())
        return QSize(0, 0);
    return QSize(int(std::ceil(m_oneLineWidth)), int(std::ceil(QFontMetricsF(m_font).lineSpacing())));
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
