#include "StationOrder.h"

#include <algorithm>

QList<Station> sortedByOrderIndex(QList<Station> stations)
{
    std::stable_sort(stations.begin(), stations.end(), [](const Station &left, const Station &right) {
        return left.orderIndex < right.orderIndex;
    });
    return stations;
}

std::optional<Station> startStation(const LumivaneProject &project)
{
    if (project.startingStationID) {
        const auto named = std::find_if(project.stations.cbegin(), project.stations.cend(),
                                        [&](const Station &station) {
                                            return station.id == *project.startingStationID;
                                        });
        if (named != project.stations.cend())
            return *named;
    }
    const auto first = std::min_element(project.stations.cbegin(), project.stations.cend(),
                                        [](const Station &left, const Station &right) {
                                            return left.orderIndex < right.orderIndex;
                                        });
    if (first == project.stations.cend())
        return std::nullopt;
    return *first;
}
