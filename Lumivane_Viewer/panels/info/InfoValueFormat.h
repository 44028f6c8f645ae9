#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// How the information panel writes its numbers. A non-empty unit follows the
// number after one space (U+0020); an absent value gives no text.

/// "%.1f" (locale-free, no grouping) when the value has a fractional part,
/// else its plain integer digits. An integral value beyond the 64-bit range,
/// or an infinite one, keeps the "%.1f" form rather than being converted.
std::optional<QString> formatDecimalValue(std::optional<double> value, QStringView unit);

/// The integer as `locale` writes it, with its group separator replaced by a
/// plain space (250000 in French: "250 000"); plain digits when the locale
/// writes nothing.
std::optional<QString> formatGroupedInteger(std::optional<qint64> value, QStringView unit,
                                            const QLocale &locale = QLocale());
