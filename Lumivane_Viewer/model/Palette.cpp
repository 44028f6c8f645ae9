#include "Palette.h"

#include "Graphemes.h"
#include "SystemFont.h"

#include <QGuiApplication>
#include <QPalette>

#include <utility>

namespace {

// Letters, marks and digits of any script count as alphanumeric.
bool isAlphanumeric(char32_t codePoint)
{
    const QChar::Category category = QChar::category(codePoint);
    switch (category) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

// The code point that starts at index, and how many code units it takes.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype index)
{
    const QChar c = text[index];
    if (c.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[index + 1]), 2};
    return {c.unicode(), 1};
}

// The code point that ends just before index, and how many code units it takes.
std::pair<char32_t, qsizetype> codePointBefore(QStringView text, qsizetype index)
{
    const QChar c = text[index - 1];
    if (c.isLowSurrogate() && index >= 2 && text[index - 2].isHighSurrogate())
        return {QChar::surrogateToUcs4(text[index - 2], c), 2};
    return {c.unicode(), 1};
}

QStringView trimNonAlphanumeric(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size()) {
        const auto [codePoint, length] = codePointAt(text, begin);
        if (isAlphanumeric(codePoint))
            break;
        begin += length;
    }
    qsizetype end = text.size();
    while (end > begin) {
        const auto [codePoint, length] = codePointBefore(text, end);
        if (isAlphanumeric(codePoint))
            break;
        end -= length;
    }
    return text.mid(begin, end - begin);
}

// Hexadecimal number at the start of text, with an optional 0x prefix,
// stopping at the first other character; 0 when there is none.
quint64 scanHex(QStringView text)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        text = text.mid(2);
    quint64 value = 0;
    for (const QChar c : text) {
        int digit;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            break;
        value = (value << 4) | quint64(digit);
    }
    return value;
}

} // namespace

QColor colorFromHex(QStringView hex)
{
    const QStringView trimmed = trimNonAlphanumeric(hex);
    const quint64 value = scanHex(trimmed);
    const auto component = [value](int shift) { return int((value >> shift) & 0xFF); };
    switch (graphemeCount(trimmed)) {
    case 8:
        return QColor::fromRgb(component(16), component(8), component(0), component(24));
    case 6:
        return QColor::fromRgb(component(16), component(8), component(0));
    default:
        return QColor::fromRgb(0, 0, 0);
    }
}

// Function-local statics: made once, on first use, thread-safely.
const QColor &paletteGold()
{
    static const QColor color = colorFromHex(u"#C9A961");
    return color;
}

const QColor &paletteBrown()
{
    static const QColor color = colorFromHex(u"#A0632D");
    return color;
}

const QColor &paletteGreen()
{
    static const QColor color = colorFromHex(u"#2E7D6B");
    return color;
}

const QColor &paletteRed()
{
    static const QColor color = colorFromHex(u"#B54B3A");
    return color;
}

Appearance currentAppearance()
{
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightness() < 128 ? Appearance::dark : Appearance::light;
}

QColor AppearanceColor::resolved(Appearance appearance) const
{
    return colorFromHex(appearance == Appearance::dark ? darkHex : lightHex);
}

const QFont &paletteBodyFont()
{
    static const QFont font = systemFont(14, QFont::Normal);
    return font;
}

const QFont &paletteButtonFont()
{
    static const QFont font = systemFont(13, QFont::Medium);
    return font;
}

const QFont &paletteCaptionFont()
{
    static const QFont font = systemFont(12, QFont::Medium);
    return font;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}
