#include "WrappingText.h"

#include "model/DisplayText.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

// The most a single layout is given: shaping and breaking a run of text
// costs more than its length (a word without spaces, quadratically), so a
// long paragraph is laid out a piece at a time.
constexpr qsizetype kPieceLength = 2048;

// Widths whose layouts are kept.
constexpr size_t kKeptLayouts = 4;

// Where a piece of text from start may end: at most kPieceLength on, never
// between the two halves of a character.
qsizetype pieceEnd(const QString &text, qsizetype start)
{
    qsizetype end = std::min(text.size(), start + kPieceLength);
    if (end < text.size() && text.at(end).isLowSurrogate() && end - 1 > start)
        --end;
    return end;
}

} // namespace

WrappingText::WrappingText(const QFont &font, const QColor &color, qsizetype maxLength, QWidget *parent)
    : QWidget(parent)
    , m_font(font)
    , m_color(color)
    , m_maxLength(maxLength)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void WrappingText::setText(const QString &text)
{
    const QString shown = displayText(text, m_maxLength, LineBreaks::kept);
    if (shown == m_text)
        return;
    m_text = shown;
    m_layouts.clear();
    setAccessibleName(shown);
    updateGeometry();
    update();
}

double WrappingText::lineHeight() const
{
    return QFontMetricsF(m_font).height();
}

const WrappingText::Layout &WrappingText::layoutFor(int width) const
{
    width = std::max(1, width);
    const auto known = std::find_if(m_layouts.begin(), m_layouts.end(),
                                    [width](const Layout &layout) { return layout.width == width; });
    if (known != m_layouts.end()) {
        std::rotate(m_layouts.begin(), known, known + 1);
        return m_layouts.front();
    }
    if (m_layouts.size() == kKeptLayouts)
        m_layouts.pop_back();
    Layout layout{width, {}, 0};
    for (const QString &paragraph : m_text.split(QLatin1Char('\n')))
        layOutParagraph(paragraph, layout);
    m_layouts.insert(m_layouts.begin(), std::move(layout));
    return m_layouts.front();
}

// Each piece breaks lines from where the last one stopped. Its last line may
// have been cut short by the piece's end; unless it ends the paragraph, it
// is laid out again at the start of the next piece, so the lines break
// exactly where one layout of the whole paragraph would break them.
void WrappingText::layOutParagraph(const QString &paragraph, Layout &into) const
{
    const double height = lineHeight();
    if (paragraph.isEmpty()) {
        into.pieces.push_back(Piece{nullptr, 1, into.height});
        into.height += height;
        return;
    }
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (qsizetype start = 0; start < paragraph.size();) {
        const qsizetype end = pieceEnd(paragraph, start);
        auto layout = std::make_unique<QTextLayout>(paragraph.mid(start, end - start), m_font);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        double y = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(into.width);
            line.setPosition(QPointF(0, y));
            y += height;
        }
        layout->endLayout();
        int kept = layout->lineCount();
        qsizetype next = end;
        if (end < paragraph.size() && kept > 1) {
            --kept;
            next = start + layout->lineAt(kept).textStart();
        }
        into.pieces.push_back(Piece{std::move(layout), kept, into.height});
        into.height += kept * height;
        start = next;
    }
}

int WrappingText::heightForWidth(int width) const
{
    if (m_text.isEmpty())
        return int(std::ceil(lineHeight()));
    return int(std::ceil(layoutFor(width).height));
}

QSize WrappingText::sizeHint() const
{
    return {kInfoCardContentWidth, heightForWidth(kInfoCardContentWidth)};
}

QSize WrappingText::minimumSizeHint() const
{
    return {1, int(std::ceil(lineHeight()))};
}

void WrappingText::paintEvent(QPaintEvent *event)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(m_color);
    const double height = lineHeight();
    const QRect exposed = event->rect();
    // Only the lines in the exposed part are drawn: a long text scrolls.
    for (const Piece &piece : layoutFor(width()).pieces) {
        if (!piece.layout || piece.top > exposed.bottom() || piece.top + piece.lineCount * height < exposed.top())
            continue;
        for (int index = 0; index < piece.lineCount; ++index) {
            const double top = piece.top + index * height;
            if (top <= exposed.bottom() && top + height >= exposed.top())
                piece.layout->lineAt(index).draw(&painter, QPointF(0, piece.top));
        }
    }
}
