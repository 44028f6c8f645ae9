#include "TableOfContentsListing.h"

#include "LevelRuns.h"
#include "model/HorizontalWhitespace.h"

#include <QHash>

QString stationCountText(const L10n &l10n, qsizetype total, qsizetype found, bool queryIsEmpty)
{
    if (queryIsEmpty || found == total) {
        if (total == 1)
            return l10n.text(L10n::Key::tocCountSingular);
        return l10n.localizedFormat(L10n::Key::tocCountPlural, total);
    }
    if (found == 1)
        return l10n.localizedFormat(L10n::Key::tocFoundSingular, total);
    return l10n.localizedFormat(L10n::Key::tocFoundPlural, found, total);
}

QList<LevelSection> levelSections(const QList<Station> &stations, const QList<qsizetype> &chosen,
                                  const QString &noLevelText)
{
    QList<LevelSection> sections;
    QHash<QString, qsizetype> sectionOfKey;
    for (const qsizetype index : chosen) {
        QString key = trimmedHorizontalWhitespace(levelText(stations[index])).toString();
        if (key.isEmpty())
            key = noLevelText;
        const QString canonicalKey = key.normalized(QString::NormalizationForm_C);
        auto section = sectionOfKey.constFind(canonicalKey);
        if (section == sectionOfKey.constEnd()) {
            section = sectionOfKey.insert(canonicalKey, sections.size());
            sections.append(LevelSection{key, {}});
        }
        sections[*section].stations.append(index);
    }
    return sections;
}
