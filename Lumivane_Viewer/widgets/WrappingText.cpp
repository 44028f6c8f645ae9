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

// No glyph is narrower than this, in ems: a few lines hold at most so many
// characters, and only those are laid out.
constexpr double kNarrowestGlyph = 0.1;

// Where a piece of text from start may end: at most kPieceLength on and no
// further than limit, never between the two halves of a character.
qsizetype pieceEnd(const QString &text, qsizetype start, qsizetype limit)
{
    qsizetype end = std::min(limit, start + kPieceLength);
    if (end < limit && text.at(end).isLowSurrogate() && end - 1 > start)
        --end;
    return end;
}

double lineSpacing(const QFont &font)
{
    return QFontMetricsF(font).lineSpacing();
}

} // namespace

WrappingText::WrappingText(const QFont &font, const QColor &color, qsizetype maxLength, int preferredWidth,
                           QWidget *parent)
    : QWidget(parent)
    , m_font(font)
    , m_color(color)
    , m_maxLength(maxLength)
    , m_preferredWidth(preferredWidth)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

WrappingText::WrappingText(const QFont &font, const QColor &color, ShrinkToFit shrink, QWidget *parent)
    : WrappingText(font, color, DisplayLength::title, 0, parent)
{
    Q_ASSERT(font.pixelSize() > 0);
    m_shrink = shrink;
}

void WrappingText::setText(const QString &text)
{
    const QString shown = displayText(text, m_maxLength, m_shrink ? LineBreaks::asSpaces : LineBreaks::kept);
    if (shown == m_text)
        return;
    m_text = shown;
    if (m_shrink)
        m_oneLineWidth = QFontMetricsF(m_font).horizontalAdvance(m_text);
    m_layouts.clear();
    setAccessibleName(shown);
    updateGeometry();
    update();
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
    m_layouts.insert(m_layouts.begin(), m_shrink ? fitTitle(width) : layOut(m_font, width, 0));
    return m_layouts.front();
}

WrappingText::Layout WrappingText::layOut(const QFont &font, int width, int lineLimit) const
{
    Layout layout;
    layout.width = width;
    layout.font = font;
    layout.lineHeight = lineSpacing(font);
    qsizetype shown = m_text.size();
    if (lineLimit > 0)
        shown = std::min(shown, qsizetype(std::ceil(lineLimit * width / (kNarrowestGlyph * font.pixelSize()))));
    for (qsizetype start = 0;;) {
        const qsizetype newline = m_text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = newline < 0 ? m_text.size() : newline;
        layOutParagraph(start, std::min(end, shown), layout, lineLimit);
        if (newline < 0 || newline >= shown || (lineLimit > 0 && layout.lineCount >= lineLimit))
            return layout;
        start = newline + 1;
    }
}

// Each piece breaks lines from where the last one stopped. Its last line may
// have been cut short by the piece's end; unless it ends the paragraph, it
// is laid out again at the start of the next piece, so the lines break
// exactly where one layout of the whole paragraph would break them.
void WrappingText::layOutParagraph(qsizetype start, qsizetype end, Layout &into, int lineLimit) const
{
    if (start == end) {
        into.pieces.push_back(Piece{nullptr, start, 1, into.height()});
        ++into.lineCount;
        return;
    }
    QTextOption option(m_shrink ? Qt::AlignHCenter : Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const auto full = [&](int lines) { return lineLimit > 0 && into.lineCount + lines >= lineLimit; };
    for (qsizetype pieceStart = start; pieceStart < end;) {
        const qsizetype pieceStop = pieceEnd(m_text, pieceStart, end);
        auto layout = std::make_unique<QTextLayout>(m_text.mid(pieceStart, pieceStop - pieceStart), into.font);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        double y = 0;
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(into.width);
            line.setPosition(QPointF(0, y));
            y += into.lineHeight;
            if (full(layout->lineCount()))
                break;
        }
        layout->endLayout();
        int kept = layout->lineCount();
        const bool filled = full(kept);
        qsizetype next = pieceStop;
        if (!filled && pieceStop < end && kept > 1) {
            --kept;
            next = pieceStart + layout->lineAt(kept).textStart();
        }
        into.pieces.push_back(Piece{std::move(layout), pieceStart, kept, into.height()});
        into.lineCount += kept;
        if (filled)
            return;
        pieceStart = next;
    }
}

// One line more than the title may take decides whether a size fits.
WrappingText::Layout WrappingText::fitTitle(int width) const
{
    const int maxLines = m_shrink->maxLines;
    const int full = m_font.pixelSize();
    const int smallest = int(std::lround(full * m_shrink->minimumScale));
    Layout fitted;
    for (int size = full; size >= smallest; --size) {
        QFont font = m_font;
        font.setPixelSize(size);
        fitted = layOut(font, width, maxLines + 1);
        const Piece &last = fitted.pieces.back();
        const QTextLine lastLine = last.layout ? last.layout->lineAt(last.lineCount - 1) : QTextLine();
        const qsizetype end = lastLine.isValid() ? last.start + lastLine.textStart() + lastLine.textLength() : last.start;
        fitted.cut = fitted.lineCount > maxLines || end < m_text.size();
        if ((!fitted.cut && !breaksInsideWord(fitted)) || size == smallest)
            break;
    }
    keepLines(fitted, maxLines);
    if (fitted.cut && !fitted.pieces.empty() && fitted.pieces.back().layout) {
        const Piece &last = fitted.pieces.back();
        const QTextLine line = last.layout->lineAt(last.lineCount - 1);
        const QString shown = m_text.mid(last.start + line.textStart(), line.textLength()).trimmed();
        fitted.shortenedLastLine =
            QFontMetricsF(fitted.font).elidedText(shown + QStringLiteral("\u2026"), Qt::ElideRight, width);
    }
    return fitted;
}

// A word split across lines means the size is too large for it.
bool WrappingText::breaksInsideWord(const Layout &layout) const
{
    for (const Piece &piece : layout.pieces) {
        for (int index = 0; piece.layout && index < piece.lineCount; ++index) {
            const QTextLine line = piece.layout->lineAt(index);
            const qsizetype end = piece.start + line.textStart() + line.textLength();
            if (end > 0 && end < m_text.size() && !m_text.at(end - 1).isSpace() && !m_text.at(end).isSpace())
                return true;
        }
    }
    return false;
}

void WrappingText::keepLines(Layout &layout, int lineCount) const
{
    while (layout.lineCount > lineCount) {
        Piece &last = layout.pieces.back();
        const int dropped = std::min(last.lineCount, layout.lineCount - lineCount);
        last.lineCount -= dropped;
        layout.lineCount -= dropped;
        if (last.lineCount == 0)
            layout.pieces.pop_back();
    }
}

int WrappingText::fittedPixelSize() const
{
    return layoutFor(width()).font.pixelSize();
}

int WrappingText::heightForWidth(int width) const
{
    if (m_text.isEmpty())
        return m_shrink ? 0 : int(std::ceil(lineSpacing(m_font)));
    return int(std::ceil(layoutFor(width).height()));
}

// A title is as wide as its text on one line at the full size, which is then
// its height: no layout needed.
QSize WrappingText::sizeHint() const
{
    if (!m_shrink)
        return {m_preferredWidth, heightForWidth(m_preferredWidth)};
    if (m_text.isEmpty())
        return {0, 0};
    return {int(std::ceil(m_oneLineWidth)), int(std::ceil(lineSpacing(m_font)))};
}

QSize WrappingText::minimumSizeHint() const
{
    if (m_shrink)
        return {0, 0};
    return {1, int(std::ceil(lineSpacing(m_font)))};
}

void WrappingText::paintEvent(QPaintEvent *event)
{
    if (m_text.isEmpty())
        return;
    const Layout &layout = layoutFor(width());
    QPainter painter(this);
    painter.setPen(m_color);
    painter.setFont(layout.font);
    const double height = layout.lineHeight;
    const QRect exposed = event->rect();
    // Only the lines in the exposed part are drawn: a long text scrolls.
    for (const Piece &piece : layout.pieces) {
        if (!piece.layout || piece.top > exposed.bottom() || piece.top + piece.lineCount * height < exposed.top())
            continue;
        for (int index = 0; index < piece.lineCount; ++index) {
            const double top = piece.top + index * height;
            if (top > exposed.bottom() || top + height < exposed.top())
                continue;
            const bool lastLine = &piece == &layout.pieces.back() && index == piece.lineCount - 1;
            if (lastLine && !layout.shortenedLastLine.isEmpty())
                painter.drawText(QRectF(0, top, width(), height), Qt::AlignHCenter | Qt::AlignVCenter,
                                 layout.shortenedLastLine);
            else
                piece.layout->lineAt(index).draw(&painter, QPointF(0, piece.top));
        }
    }
}
