#pragma once

#include "TestTours.h"

#include <QList>
#include <QString>

#include <optional>

// Stations of the navigation tests: station n of the shared test tours with
// the level and plan place a case names.
namespace TestStations {

inline Station onLevel(int n, std::optional<QString> level)
{
    Station station = TestTours::station(n);
    station.level = std::move(level);
    return station;
}

inline Station placed(int n, std::optional<QString> level, qint64 orderIndex, std::optional<double> x = 0.5,
                      std::optional<double> y = 0.5)
{
    Station station = onLevel(n, std::move(level));
    station.orderIndex = orderIndex;
    station.floorplanX = x;
    station.floorplanY = y;
    return station;
}

/// Stations 1..count, each on the level the list names (none for nullopt).
inline QList<Station> onLevels(const QList<std::optional<QString>> &levels)
{
    QList<Station> stations;
    for (qsizetype i = 0; i < levels.size(); ++i)
        stations.append(onLevel(int(i) + 1, levels[i]));
    return stations;
}

} // namespace TestStations
