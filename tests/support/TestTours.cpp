#include "TestTours.h"

namespace TestTours {

QUuid stationID(int n)
{
    return QUuid(uint(n), 0x5a7e, 0x4000, 0x80, 0, 0, 0, 0, 0, 0, 0x01);
}

int stationNumber(const QUuid &id)
{
    return int(id.data1);
}

Station station(int n)
{
    Station station;
    station.id = stationID(n);
    station.name = QStringLiteral("Station %1").arg(n);
    station.photoFilename = QStringLiteral("%1.jpg").arg(n);
    station.orderIndex = n;
    return station;
}

Hotspot navigationHotspot(int targetStation, bool isPending)
{
    Hotspot hotspot;
    hotspot.id = QUuid::createUuid();
    hotspot.kind = HotspotKind::navigation;
    hotspot.targetStationID = stationID(targetStation);
    hotspot.isPending = isPending;
    return hotspot;
}

Hotspot infoHotspot(const QString &title, const QString &description)
{
    Hotspot hotspot;
    hotspot.id = QUuid::createUuid();
    hotspot.kind = HotspotKind::info;
    hotspot.infoTitle = title;
    if (!description.isNull())
        hotspot.infoDescription = description;
    return hotspot;
}

LumivaneProject tour(int stationCount, int hotspotsPerStation)
{
    LumivaneProject project;
    project.id = QUuid::createUuid();
    project.name = QStringLiteral("Test tour");
    for (int n = 1; n <= stationCount; ++n) {
        Station next = station(n);
        for (int k = 1; k <= hotspotsPerStation; ++k)
            next.hotspots.append(navigationHotspot((n - 1 + k) % stationCount + 1));
        project.stations.append(next);
    }
    return project;
}

} // namespace TestTours
