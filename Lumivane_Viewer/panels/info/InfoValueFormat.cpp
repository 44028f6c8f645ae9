#include "InfoValueFormat.h"

#include <charconv>
#include <cmath>

namespace {

QString withUnit(QString number, QStringView unit)
{
    if (!unit.isEmpty()) {
        number += QLatin1Char(' ');
        number += unit;
    }
    return number;
}

// Whether an integral double converts to qint64 without overflow: the range
// is [-2^63, 2^63), and both bounds are exact doubles.
bool fitsInt64(double value)
{
    constexpr double twoTo63 = 9223372036854775808.0;
    return value >= -twoTo63 && value < twoTo63;
}

// printf's "%.1f" without its locale: ties round to even on the exact binary
// value (85.25 gives "85.2"), which QString::number does not do.
QString oneDecimal(double value)
{
    char text[400]; // the longest double, 1.8e308, has 309 integer digits
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return QString::fromLatin1(text, result.ptr - text);
}

} // namespace

std::optional<QString> formatDecimalValue(std::optional<double> value, QStringView unit)
{
    if (!value)
        return std::nullopt;
    const double number = *value;
    const bool integral = std::floor(number) == number;
    if (integral && fitsInt64(number))
        return withUnit(QString::number(static_cast<qint64>(number)), unit);
    return withUnit(oneDecimal(number), unit);
}

std::optional<QString> formatGroupedInteger(std::optional<qint64> value, QStringView unit, const QLocale &locale)
{
    if (!value)
        return std::nullopt;
    QString number = locale.toString(*value);
    const QString separator = locale.groupSeparator();
    if (!separator.isEmpty())
        number.replace(separator, QStringLiteral(" "));
    if (number.isEmpty())
        number = QString::number(*value);
    return withUnit(number, unit);
}
