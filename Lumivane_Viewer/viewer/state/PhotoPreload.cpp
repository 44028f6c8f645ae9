#include "viewer/state/PhotoPreload.h"

#include <QSet>

QList<QUuid> preloadStationIDs(RenderMode renderMode, const QList<Station> &orderedStations,
                               const std::optional<Station> &currentStation, int currentIndex)
{
    QList<QUuid> ids;
    if (renderMode == RenderMode::classic) {
        for (const int offset : {-2, -1, 1, 2}) {
            const qsizetype index = qsizetype(currentIndex) + offset;
            if (index >= 0 && index < orderedStations.size())
                ids.append(orderedStations[index].id);
        }
        return ids;
    }
    if (!currentStation)
        return ids;
    // A station crowded with ways to a few others fetches each once.
    QSet<QUuid> listed;
    for (const Hotspot &hotspot : currentStation->hotspots) {
        if (hotspot.kind == HotspotKind::navigation && !hotspot.isPending && !listed.contains(hotspot.targetStationID)) {
            listed.insert(hotspot.targetStationID);
            ids.append(hotspot.targetStationID);
        }
    }
    return ids;
}
