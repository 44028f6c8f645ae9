#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QStringView>
#include <QUuid>

#include <optional>

// Readers for the text forms of project.json. Qt's own parsers are more
// lenient than the format: they take braces and trailing junk in UUIDs,
// fractional seconds and missing zones in dates, and unpadded base64.

/// Canonical 8-4-4-4-12 hexadecimal UUID text, digits in either case.
std::optional<QUuid> readStrictUuid(QStringView text);
std::optional<QUuid> readStrictUuid(QByteArrayView utf8);

/// ISO 8601 internet date and time with whole seconds and a zone:
/// "2026-03-01T10:15:00Z" or "2026-03-01T11:15:00+01:00".
std::optional<QDateTime> readStrictDate(QStringView text);
std::optional<QDateTime> readStrictDate(QByteArrayView utf8);

/// Standard base64 (RFC 4648 alphabet, "=" padding) and nothing else.
std::optional<QByteArray> readStrictBase64(QStringView text);
std::optional<QByteArray> readStrictBase64(QByteArrayView utf8);
