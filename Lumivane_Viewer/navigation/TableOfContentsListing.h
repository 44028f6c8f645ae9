#pragma once

#include "l10n/L10n.h"
#include "model/Station.h"

#include <QList>
#include <QString>

/// The line under the table of contents' title: the station total while no
/// query is typed (a query of spaces counts as typed) or when every station
/// is found, else how many were found out of the total.
QString stationCountText(const L10n &l10n, qsizetype total, qsizetype found, bool queryIsEmpty);

/// Stations of one level heading, as positions in the station list.
struct LevelSection
{
    QString level;
    QList<qsizetype> stations;

    bool operator==(const LevelSection &) const = default;
};

/// Groups the chosen stations by their level trimmed of horizontal white
/// space, in the order each level first appears; stations without a level,
/// or with a blank one, go under `noLevelText`. Levels equal as texts after
/// trimming (canonically, with case and accents) share a group.
QList<LevelSection> levelSections(const QList<Station> &stations, const QList<qsizetype> &chosen,
                                  const QString &noLevelText);
