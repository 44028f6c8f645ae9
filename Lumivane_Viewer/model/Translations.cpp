#include "Translations.h"

std::optional<QString> localizedText(const std::optional<Translations> &translations,
                                     const QString &languageCode,
                                     const std::optional<QString> &base)
{
    if (!translations)
        return base;
    const auto entry = translations->constFind(languageCode);
    if (entry == translations->constEnd())
        return base;
    // QString::trimmed removes the Unicode white space and line breaks at both ends.
    QString trimmed = entry->trimmed();
    if (trimmed.isEmpty())
        return base;
    return trimmed;
}
