#include "viewer/state/UniqueStations.h"

#include "viewer/state/ViewerLogging.h"

#include <QSet>
#include <QStringList>

QList<Station> uniqueStations(const QList<Station> &stations)
{
    QList<Station> unique;
    QSet<QUuid> seen;
    QStringList dropped;
    for (const Station &station : stations) {
        if (seen.contains(station.id)) {
            dropped.append(QStringLiteral("\"%1\" (%2)").arg(station.name, station.id.toString(QUuid::WithoutBraces)));
            continue;
        }
        seen.insert(station.id);
        unique.append(station);
    }
    if (!dropped.isEmpty())
        qCWarning(lcViewer).noquote() << dropped.size() << "station(s) left out, their id is taken by an earlier station:"
                                      << dropped.join(QStringLiteral(", "));
    return unique;
}
