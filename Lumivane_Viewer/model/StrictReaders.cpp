#include "StrictReaders.h"

#include <QDate>
#include <QTime>

#include <array>

namespace {

constexpr std::array<qint8, 128> makeHexTable()
{
    std::array<qint8, 128> table{};
    for (auto &entry : table)
        entry = -1;
    for (int i = 0; i < 10; ++i)
        table['0' + i] = qint8(i);
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = qint8(10 + i);
        table['A' + i] = qint8(10 + i);
    }
    return table;
}

constexpr std::array<qint8, 128> hexTable = makeHexTable();

int hexDigit(char32_t c)
{
    return c < 128 ? hexTable[c] : -1;
}

// The code unit at index, widened; both views hold ASCII in the valid case.
char32_t unit(QStringView text, qsizetype index)
{
    return text[index].unicode();
}

char32_t unit(QByteArrayView text, qsizetype index)
{
    return static_cast<unsigned char>(text[index]);
}

// Reads `count` decimal digits at `position`; -1 when any is not a digit.
template<typename View>
int decimal(View text, qsizetype position, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char32_t c = unit(text, position + i);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

template<typename View>
bool hasSeparators(View text)
{
    return unit(text, 4) == u'-' && unit(text, 7) == u'-' && unit(text, 10) == u'T' && unit(text, 13) == u':'
        && unit(text, 16) == u':';
}

// Seconds ahead of UTC from "Z" or "+hh:mm" / "-hh:mm"; no value when malformed.
template<typename View>
std::optional<int> zoneOffset(View zone)
{
    if (zone.size() == 1 && unit(zone, 0) == u'Z')
        return 0;
    if (zone.size() != 6 || (unit(zone, 0) != u'+' && unit(zone, 0) != u'-') || unit(zone, 3) != u':')
        return std::nullopt;
    const int hours = decimal(zone, 1, 2);
    const int minutes = decimal(zone, 4, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return unit(zone, 0) == u'-' ? -seconds : seconds;
}

constexpr std::array<qint8, 128> makeBase64Table()
{
    std::array<qint8, 128> table{};
    for (auto &entry : table)
        entry = -1;
    constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<qint8>(i);
    return table;
}

constexpr std::array<qint8, 128> base64Table = makeBase64Table();

int base64Digit(char32_t c)
{
    return c < 128 ? base64Table[c] : -1;
}

template<typename View>
std::optional<QUuid> uuidFrom(View text)
{
    if (text.size() != 36)
        return std::nullopt;
    std::array<char, 16> bytes{};
    int nibble = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPlace) {
            if (unit(text, i) != u'-')
                return std::nullopt;
            continue;
        }
        const int digit = hexDigit(unit(text, i));
        if (digit < 0)
            return std::nullopt;
        bytes[nibble / 2] = static_cast<char>((bytes[nibble / 2] << 4) | digit);
        ++nibble;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), bytes.size()));
}

template<typename View>
std::optional<QDateTime> dateFrom(View text)
{
    // "YYYY-MM-DDThh:mm:ss" followed by the zone.
    constexpr qsizetype localLength = 19;
    if (text.size() < localLength + 1 || !hasSeparators(text))
        return std::nullopt;
    const int year = decimal(text, 0, 4);
    const int month = decimal(text, 5, 2);
    const int day = decimal(text, 8, 2);
    const int hour = decimal(text, 11, 2);
    const int minute = decimal(text, 14, 2);
    const int second = decimal(text, 17, 2);
    const std::optional<int> offset = zoneOffset(text.sliced(localLength));
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || !offset)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // Kept in UTC: the record compares instants, not the writer's zone.
    return QDateTime(date, time, Qt::UTC).addSecs(-*offset);
}

char32_t widen(QChar c)
{
    return c.unicode();
}

char32_t widen(char c)
{
    return static_cast<unsigned char>(c);
}

template<typename View>
std::optional<QByteArray> base64From(View text)
{
    const qsizetype length = text.size();
    if (length % 4 != 0)
        return std::nullopt;
    if (length == 0)
        return QByteArray();
    const qsizetype padding = unit(text, length - 1) == u'=' ? (unit(text, length - 2) == u'=' ? 2 : 1) : 0;
    QByteArray out(length / 4 * 3 - padding, Qt::Uninitialized);
    char *write = out.data();
    const auto *read = text.data();
    const qsizetype fullQuads = (length - (padding ? 4 : 0)) / 4;
    for (qsizetype quad = 0; quad < fullQuads; ++quad, read += 4) {
        const int a = base64Digit(widen(read[0]));
        const int b = base64Digit(widen(read[1]));
        const int c = base64Digit(widen(read[2]));
        const int d = base64Digit(widen(read[3]));
        if ((a | b | c | d) < 0)
            return std::nullopt;
        const quint32 bits = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6) | quint32(d);
        *write++ = char(bits >> 16);
        *write++ = char(bits >> 8);
        *write++ = char(bits);
    }
    if (padding) {
        // The last quad: two or three digits, then the padding.
        const int a = base64Digit(widen(read[0]));
        const int b = base64Digit(widen(read[1]));
        const int c = padding == 1 ? base64Digit(widen(read[2])) : 0;
        if ((a | b | c) < 0)
            return std::nullopt;
        const quint32 bits = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6);
        *write++ = char(bits >> 16);
        if (padding == 1)
            *write++ = char(bits >> 8);
    }
    return out;
}

} // namespace

std::optional<QUuid> readStrictUuid(QStringView text)
{
    return uuidFrom(text);
}

std::optional<QUuid> readStrictUuid(QByteArrayView utf8)
{
    return uuidFrom(utf8);
}

std::optional<QDateTime> readStrictDate(QStringView text)
{
    return dateFrom(text);
}

std::optional<QDateTime> readStrictDate(QByteArrayView utf8)
{
    return dateFrom(utf8);
}

std::optional<QByteArray> readStrictBase64(QStringView text)
{
    return base64From(text);
}

std::optional<QByteArray> readStrictBase64(QByteArrayView utf8)
{
    return base64From(utf8);
}
