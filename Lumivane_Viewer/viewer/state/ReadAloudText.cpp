#include "viewer/state/ReadAloudText.h"

#include <QStringList>

#include <algorithm>

namespace {

// Only spaces and tabs count as blank here; a line break is read (and then
// trimmed by the speech service).
bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
    });
}

} // namespace

QString readAloudText(const Hotspot &hotspot, const QString &languageCode)
{
    QStringList parts;
    for (const std::optional<QString> &text :
         {hotspot.localizedInfoTitle(languageCode), hotspot.localizedInfoDescription(languageCode)}) {
        if (text && !isBlank(*text))
            parts.append(*text);
    }
    return parts.join(QStringLiteral(". "));
}
