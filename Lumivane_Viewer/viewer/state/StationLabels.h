#pragma once

#include "model/LumivaneProject.h"

#include <QHash>
#include <QString>
#include <QUuid>

/// Each station's base name (never a translation), by id, as the panorama's
/// labels show it: on one line, cut, its control characters made spaces.
QHash<QUuid, QString> stationNameMap(const LumivaneProject &project);

/// The short label of each station on markers and thumbnails: its place,
/// from 1, in station order within its level (no level counts as the empty
/// level), or "★" for the station named by startingStationID, which keeps
/// its place in the count. Empty when the tour shows no floor plan.
QHash<QUuid, QString> stationNumberMap(const LumivaneProject &project);
