#pragma once

#include "model/ModelEnums.h"
#include "model/Station.h"

#include <QList>
#include <QUuid>

#include <optional>

/// The stations whose photos the next move will most likely show. Classic
/// tours: the stations at -2, -1, +1 and +2 of currentIndex in station order,
/// without wrapping. Panorama tours: the targets of the current station's
/// navigation hotspots that are not pending, in hotspot order, each once.
QList<QUuid> preloadStationIDs(RenderMode renderMode, const QList<Station> &orderedStations,
                               const std::optional<Station> &currentStation, int currentIndex);
