#include "StationSearch.h"

#include "model/HorizontalWhitespace.h"

#include <numeric>

namespace {

// Letters whose diacritic is drawn through them have no decomposition, yet
// a diacritic-insensitive search treats them like the others.
QChar withoutOverlay(QChar c)
{
    switch (c.unicode()) {
    case u'ø': return u'o';
    case u'Ø': return u'O';
    case u'đ': return u'd';
    case u'Đ': return u'D';
    case u'ł': return u'l';
    case u'Ł': return u'L';
    case u'ħ': return u'h';
    case u'Ħ': return u'H';
    default: return c;
    }
}

} // namespace

QString searchFolded(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(withoutOverlay(c));
    }
    return folded.toLower();
}

QString normalizedQuery(QStringView query)
{
    return trimmedHorizontalWhitespace(searchFolded(query)).toString();
}

StationSearchIndex::StationSearchIndex(const QList<Station> &stations, const QString &languageCode)
{
    m_entries.reserve(stations.size());
    for (const Station &station : stations) {
        m_entries.append(Entry{searchFolded(station.localizedName(languageCode)),
                               searchFolded(station.localizedCaption(languageCode).value_or(QString())),
                               searchFolded(station.level.value_or(QString()))});
    }
}

QList<qsizetype> StationSearchIndex::matches(QStringView query) const
{
    const QString needle = normalizedQuery(query);
    QList<qsizetype> found;
    if (needle.isEmpty()) {
        found.resize(m_entries.size());
        std::iota(found.begin(), found.end(), qsizetype(0));
        return found;
    }
    for (qsizetype index = 0; index < m_entries.size(); ++index) {
        const Entry &entry = m_entries[index];
        if (entry.name.contains(needle) || entry.caption.contains(needle) || entry.level.contains(needle))
            found.append(index);
    }
    return found;
}
