#include "DisplayText.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// More than any script stacks on one letter; a run of thousands of marks
// on one letter makes text shaping take minutes.
constexpr int kMaxCombiningMarks = 8;

// The longest emoji sequence (a kiss between two people of given skin
// tones) has ten code points; a chain of thousands joined by zero-width
// joiners is one cluster that no line can break.
constexpr int kMaxClusterCodePoints = 10;

// Each glyph the colour emoji font draws costs a tenth of a millisecond or
// more every time its text is laid out, as that font's glyph metrics are
// read anew each time. Every code point the text fonts do not shape cheaply
// counts as a pictograph. A text keeps one per this many code
// units it may show, and never fewer than kFewestPictographs.
constexpr qsizetype kUnitsPerPictograph = 512;
constexpr qsizetype kFewestPictographs = 16;

// Marks dropped past the limit are still read; a text of little else is cut
// after this many code units per one kept.
constexpr qsizetype kReadPerKept = 4;

constexpr QChar kEllipsis(0x2026);

bool isCombiningMark(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Variation selectors pick a glyph's form, its emoji one among them. The
// Mongolian script's own are shaped by its font and are left out.
bool isVariationSelector(char32_t code)
{
    return (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xE0100 && code <= 0xE01EF);
}

// The letters and punctuation that are also emoji: where no text font holds
// them (the wavy dash, the part alternation mark), the colour font draws them.
bool isEmojiLetterOrPunctuation(char32_t code)
{
    return code == 0x203C || code == 0x2049 || code == 0x2139 || code == 0x3030 || code == 0x303D;
}

// What the text fonts shape cheaply: the letters, marks, digits, punctuation
// and spaces of every script, the signs of currencies and mathematics, the
// symbols of Latin-1 (° © ^) and the format characters of the BMP (joiners,
// bidirectional marks, the soft hyphen). Any other code point may send its
// text to the colour emoji font: other symbols, enclosing marks (the keycap),
// variation selectors, private use, tags, code points Qt does not know yet
// and the emoji font may, lone surrogates.
bool shapesCheaply(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Mark_NonSpacing:
        return !isVariationSelector(code);
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Punctuation_Connector:
    case QChar::Punctuation_Dash:
    case QChar::Punctuation_Open:
    case QChar::Punctuation_Close:
    case QChar::Punctuation_InitialQuote:
    case QChar::Punctuation_FinalQuote:
    case QChar::Punctuation_Other:
        return !isEmojiLetterOrPunctuation(code);
    case QChar::Mark_SpacingCombining:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Symbol_Math:
    case QChar::Symbol_Currency:
        return true;
    case QChar::Symbol_Modifier:
    case QChar::Symbol_Other:
        return code < 0x100;
    case QChar::Other_Format:
        return code <= 0xFFFF;
    default:
        return false;
    }
}

bool isLineBreak(char32_t code)
{
    return (code >= 0x0A && code <= 0x0D) || code == 0x85 || code == 0x2028 || code == 0x2029;
}

bool isControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

/// Where the grapheme clusters of the part of a text that is read start.
/// Finding them costs what they span, so they are found first in what a text
/// that keeps every code point reads, and in the rest only once it is read.
class ClusterStarts
{
public:
    ClusterStarts(QStringView text, qsizetype firstEnd, qsizetype readEnd)
        : m_text(text)
        , m_readEnd(readEnd)
    {
        find(std::min(firstEnd, readEnd));
    }

    bool isStart(qsizetype position)
    {
        // Past the last character of what was searched, a cluster may go on.
        if (position + 2 > m_end && m_end < m_readEnd)
            find(m_readEnd);
        m_finder.setPosition(position);
        return m_finder.isAtBoundary();
    }

private:
    void find(qsizetype end)
    {
        m_end = end;
        m_finder = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, m_text.data(), end);
    }

    QStringView m_text;
    qsizetype m_readEnd;
    qsizetype m_end = 0;
    QTextBoundaryFinder m_finder;
};

} // namespace

QString displayText(QStringView text, qsizetype maxLength, LineBreaks lineBreaks)
{
    QString shown;
    shown.reserve(std::min(text.size(), maxLength) + 1);
    qsizetype readEnd = std::min(text.size(), kReadPerKept * maxLength);
    // The clusters are found in what is read, which ends after a character.
    if (readEnd < text.size() && text[readEnd].isLowSurrogate())
        ++readEnd;
    ClusterStarts clusters(text, maxLength + 2, readEnd);
    const qsizetype maxPictographs = std::max(kFewestPictographs, maxLength / kUnitsPerPictograph);
    qsizetype pictographs = 0;
    qsizetype clusterStart = 0; // where the current cluster starts in shown
    int clusterCodePoints = 0;
    int marks = 0;
    qsizetype at = 0;
    while (at < readEnd) {
        qsizetype units = 1;
        char32_t code = text[at].unicode();
        if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[at], text[at + 1]);
            units = 2;
        }
        if (clusters.isStart(at)) {
            clusterStart = shown.size();
            clusterCodePoints = 0;
        }
        marks = isCombiningMark(code) ? marks + 1 : 0;
        if (marks > kMaxCombiningMarks || ++clusterCodePoints > kMaxClusterCodePoints) {
            at += units;
            continue;
        }
        // The text ends before the cluster that holds one pictograph too
        // many, so that no flag or family is shown in part.
        if (!shapesCheaply(code) && ++pictographs > maxPictographs) {
            shown.truncate(clusterStart);
            break;
        }
        if (shown.size() + units > maxLength)
            break;
        // CR LF is one break.
        if (code == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
            ++at;
        if (lineBreaks == LineBreaks::kept && isLineBreak(code))
            shown += QLatin1Char('\n');
        else if (isControl(code))
            shown += QLatin1Char(' ');
        else
            shown += text.mid(at, units);
        at += units;
    }
    if (at < text.size())
        shown += kEllipsis;
    return shown;
}

QString displayLine(QStringView text)
{
    return displayText(text, DisplayLength::line);
}
