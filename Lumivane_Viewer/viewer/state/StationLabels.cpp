#include "viewer/state/StationLabels.h"

#include "model/DisplayText.h"
#include "model/StationOrder.h"

#include <QList>
#include <QMap>

namespace {

bool showsFloorplan(const LumivaneProject &project)
{
    const bool hasPlan = !project.floorplansByLevel.isEmpty() || project.floorplanImageData.has_value();
    return hasPlan && project.showFloorplan;
}

} // namespace

QHash<QUuid, QString> stationNameMap(const LumivaneProject &project)
{
    QHash<QUuid, QString> names;
    for (const Station &station : project.stations)
        names.insert(station.id, displayLine(station.name));
    return names;
}

QHash<QUuid, QString> stationNumberMap(const LumivaneProject &project)
{
    QHash<QUuid, QString> numbers;
    if (!showsFloorplan(project))
        return numbers;
    QMap<QString, QList<Station>> byLevel;
    for (const Station &station : project.stations)
        byLevel[station.level.value_or(QString())].append(station);
    for (const QList<Station> &level : std::as_const(byLevel)) {
        const QList<Station> ordered = sortedByOrderIndex(level);
        for (qsizetype i = 0; i < ordered.size(); ++i) {
            const bool isStart = project.startingStationID == ordered[i].id;
            numbers.insert(ordered[i].id, isStart ? QStringLiteral("\u2605") : QString::number(i + 1));
        }
    }
    return numbers;
}
