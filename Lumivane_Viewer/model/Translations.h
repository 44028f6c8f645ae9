#pragma once

#include <QMap>
#include <QString>

#include <optional>

/// Texts of a tour record by two-letter language code ("fr", "en", ...).
using Translations = QMap<QString, QString>;

/// The translation for languageCode, trimmed, when one exists and is not
/// blank; otherwise the base text exactly as stored. The code is matched
/// exactly: no fallback between languages or from a regional code.
std::optional<QString> localizedText(const std::optional<Translations> &translations,
                                     const QString &languageCode,
                                     const std::optional<QString> &base);
