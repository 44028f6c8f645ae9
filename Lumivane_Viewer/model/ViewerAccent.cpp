#include "ViewerAccent.h"

#include "Graphemes.h"
#include "HorizontalWhitespace.h"
#include "LumivaneProject.h"
#include "Palette.h"

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    const char16_t lower = u | 0x20;
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// Unsigned base-16 reading of the whole text with an optional leading sign;
// a negative value other than zero does not fit an unsigned number. Callers
// pass at most six characters, so the value cannot overflow.
std::optional<quint64> parseUnsignedHex(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint64(digit);
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QColor> rgbColorFromHex(QStringView text)
{
    text = trimmedHorizontalWhitespace(text);
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (graphemeCount(text) != 6)
        return std::nullopt;
    const std::optional<quint64> value = parseUnsignedHex(text);
    if (!value)
        return std::nullopt;
    return QColor::fromRgb(int((*value >> 16) & 0xFF), int((*value >> 8) & 0xFF), int(*value & 0xFF));
}

QColor projectAccentColor(const LumivaneProject &project)
{
    if (project.brandingAccentHex) {
        if (const std::optional<QColor> color = rgbColorFromHex(*project.brandingAccentHex))
            return *color;
    }
    return paletteGold();
}
