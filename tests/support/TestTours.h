#pragma once

#include "model/LumivaneProject.h"

#include <QString>
#include <QUuid>

// Tours built in code for tests: stations numbered from 1, each with a
// recognisable id, name and orderIndex, so a test says only what it changes.
namespace TestTours {

/// The id of station n: its first field is n, so tests can read it back.
QUuid stationID(int n);
/// The number of a station id made by stationID().
int stationNumber(const QUuid &id);

/// Station n, named "Station n", orderIndex n, no hotspots.
Station station(int n);
Hotspot navigationHotspot(int targetStation, bool isPending = false);
Hotspot infoHotspot(const QString &title, const QString &description = {});

/// A simple (panorama) tour "Test tour" of stations 1..stationCount in
/// order; each station leads to the hotspotsPerStation stations after it
/// (wrapping) through navigation hotspots.
LumivaneProject tour(int stationCount, int hotspotsPerStation = 0);

} // namespace TestTours
