#include "StrictReaders.h"

#include <QDate>
#include <QTime>

#include <array>

namespace {

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads `count` decimal digits at `position`; -1 when any is not a digit.
int decimal(QStringView text, qsizetype position, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[position + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool hasSeparators(QStringView text)
{
    return text[4] == u'-' && text[7] == u'-' && text[10] == u'T' && text[13] == u':' && text[16] == u':';
}

// Seconds ahead of UTC from "Z" or "+hh:mm" / "-hh:mm"; no value when malformed.
std::optional<int> zoneOffset(QStringView zone)
{
    if (zone == u"Z")
        return 0;
    if (zone.size() != 6 || (zone[0] != u'+' && zone[0] != u'-') || zone[3] != u':')
        return std::nullopt;
    const int hours = decimal(zone, 1, 2);
    const int minutes = decimal(zone, 4, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return zone[0] == u'-' ? -seconds : seconds;
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

int base64Digit(char16_t c)
{
    return c < 128 ? base64Table[c] : -1;
}

} // namespace

std::optional<QUuid> readStrictUuid(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    std::array<char, 16> bytes{};
    int nibble = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPlace) {
            if (text[i] != u'-')
                return std::nullopt;
            continue;
        }
        const int digit = hexDigit(text[i].unicode());
        if (digit < 0)
            return std::nullopt;
        bytes[nibble / 2] = static_cast<char>((bytes[nibble / 2] << 4) | digit);
        ++nibble;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), bytes.size()));
}

std::optional<QDateTime> readStrictDate(QStringView text)
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
    const std::optional<int> offset = zoneOffset(text.mid(localLength));
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || !offset)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // Kept in UTC: the record compares instants, not the writer's zone.
    return QDateTime(date, time, Qt::UTC).addSecs(-*offset);
}

std::optional<QByteArray> readStrictBase64(QStringView text)
{
    const qsizetype length = text.size();
    if (length % 4 != 0)
        return std::nullopt;
    if (length == 0)
        return QByteArray();
    const qsizetype padding = text[length - 1] == u'=' ? (text[length - 2] == u'=' ? 2 : 1) : 0;
    QByteArray out(length / 4 * 3 - padding, Qt::Uninitialized);
    char *write = out.data();
    const char16_t *read = text.utf16();
    const qsizetype fullQuads = (length - (padding ? 4 : 0)) / 4;
    for (qsizetype quad = 0; quad < fullQuads; ++quad, read += 4) {
        const int a = base64Digit(read[0]);
        const int b = base64Digit(read[1]);
        const int c = base64Digit(read[2]);
        const int d = base64Digit(read[3]);
        if ((a | b | c | d) < 0)
            return std::nullopt;
        const quint32 bits = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6) | quint32(d);
        *write++ = char(bits >> 16);
        *write++ = char(bits >> 8);
        *write++ = char(bits);
    }
    if (padding) {
        // The last quad: two or three digits, then the padding.
        const int a = base64Digit(read[0]);
        const int b = base64Digit(read[1]);
        const int c = padding == 1 ? base64Digit(read[2]) : 0;
        if ((a | b | c) < 0)
            return std::nullopt;
        const quint32 bits = (quint32(a) << 18) | (quint32(b) << 12) | (quint32(c) << 6);
        *write++ = char(bits >> 16);
        if (padding == 1)
            *write++ = char(bits >> 8);
    }
    return out;
}
