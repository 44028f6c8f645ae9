#include "model/StationOrder.h"

#include <gtest/gtest.h>

namespace {

Station station(int id, qint64 orderIndex)
{
    Station s;
    s.id = QUuid::fromRfc4122(QByteArray(15, '\0') + char(id));
    s.name = QString::number(id);
    s.orderIndex = orderIndex;
    return s;
}

QStringList names(const QList<Station> &stations)
{
    QStringList result;
    for (const Station &s : stations)
        result.append(s.name);
    return result;
}

TEST(StationOrder, AscendingAndStableForEqualIndexes)
{
    const QList<Station> stations{station(1, 5), station(2, 1), station(3, 5), station(4, -2), station(5, 1)};
    EXPECT_EQ(names(sortedByOrderIndex(stations)), QStringList({"4", "2", "5", "1", "3"}));
}

TEST(StartStation, NamedStationWhenItExists)
{
    LumivaneProject project;
    project.stations = {station(1, 3), station(2, 1), station(3, 1)};
    EXPECT_EQ(startStation(project)->name, QStringLiteral("2"));

    project.startingStationID = project.stations[2].id;
    EXPECT_EQ(startStation(project)->name, QStringLiteral("3"));

    project.startingStationID = station(9, 0).id;
    EXPECT_EQ(startStation(project)->name, QStringLiteral("2"));

    project.stations.clear();
    EXPECT_FALSE(startStation(project));
}

} // namespace
