#include "FloorplanMarkers.h"

#include "LevelRuns.h"
#include "model/Palette.h"

#include <algorithm>

namespace {

// Positions in the list of the stations on the level, in station order.
QList<qsizetype> levelStationIndexes(const QList<Station> &stations, const QString &level)
{
    QList<qsizetype> onLevel;
    for (qsizetype index = 0; index < stations.size(); ++index) {
        if (isSameLevel(levelText(stations[index]), level))
            onLevel.append(index);
    }
    std::stable_sort(onLevel.begin(), onLevel.end(), [&](qsizetype left, qsizetype right) {
        return stations[left].orderIndex < stations[right].orderIndex;
    });
    return onLevel;
}

} // namespace

QList<FloorplanMarker> floorplanMarkers(const QList<Station> &stations,
                                        const std::optional<QUuid> &startingStationID,
                                        const std::optional<Station> &currentStation)
{
    const QList<qsizetype> onLevel =
        levelStationIndexes(stations, currentStation ? levelText(*currentStation) : QString());
    QList<FloorplanMarker> markers;
    for (qsizetype place = 0; place < onLevel.size(); ++place) {
        const Station &station = stations[onLevel[place]];
        if (!station.floorplanX || !station.floorplanY)
            continue;
        const bool isStart = startingStationID && *startingStationID == station.id;
        markers.append(FloorplanMarker{onLevel[place],
                                       QPointF(*station.floorplanX, *station.floorplanY),
                                       isStart ? QStringLiteral("★") : QString::number(place + 1),
                                       currentStation && currentStation->id == station.id,
                                       isStart});
    }
    return markers;
}

MarkerLook markerLook(bool isCurrent, bool isStart, const QColor &accent)
{
    const QColor softBlack(0, 0, 0, qRound(0.75 * 255));
    if (isCurrent) {
        QColor halo = accent;
        halo.setAlphaF(0.35f);
        return MarkerLook{22, halo, accent, 2, Qt::white, 22 * 0.55};
    }
    return MarkerLook{18, std::nullopt, isStart ? paletteBrown() : QColor(Qt::white), 1, softBlack, 18 * 0.55};
}
