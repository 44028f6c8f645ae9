#include "DisplayText.h"

#include <algorithm>

namespace {

// More than any script stacks on one letter; a run of thousands of marks
// on one letter makes text shaping take minutes.
constexpr int kMaxCombiningMarks = 8;

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

bool isLineBreak(char32_t code)
{
    return (code >= 0x0A && code <= 0x0D) || code == 0x85 || code == 0x2028 || code == 0x2029;
}

bool isControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

} // namespace

QString displayText(QStringView text, qsizetype maxLength, LineBreaks lineBreaks)
{
    QString shown;
    shown.reserve(std::min(text.size(), maxLength) + 1);
    const qsizetype readEnd = std::min(text.size(), kReadPerKept * maxLength);
    int marks = 0;
    qsizetype at = 0;
    while (at < readEnd) {
        qsizetype units = 1;
        char32_t code = text[at].unicode();
        if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[at], text[at + 1]);
            units = 2;
        }
        marks = isCombiningMark(code) ? marks + 1 : 0;
        if (marks > kMaxCombiningMarks) {
            at += units;
            continue;
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
