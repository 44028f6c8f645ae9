#pragma once

#include "model/Station.h"

#include <QList>
#include <QString>
#include <QStringView>

/// A text as the station search compares it: accents and other diacritics
/// removed (é as e, Ç as C, ø as o), then lower-cased whatever the locale.
QString searchFolded(QStringView text);

/// A typed query as the search compares it: folded, then trimmed of
/// horizontal white space at both ends.
QString normalizedQuery(QStringView query);

/// The searchable texts of a list of stations in one visitor language,
/// folded once, so that each keystroke only compares.
class StationSearchIndex
{
public:
    StationSearchIndex() = default;
    StationSearchIndex(const QList<Station> &stations, const QString &languageCode);

    /// Positions in the list of the stations whose localized name, localized
    /// caption or raw level contains the query, in list order; every
    /// position when the normalized query is empty.
    QList<qsizetype> matches(QStringView query) const;

private:
    struct Entry
    {
        QString name;
        QString caption;
        QString level;
    };
    QList<Entry> m_entries;
};
