#pragma once

#include "LumivaneProject.h"
#include "Station.h"

#include <QList>

#include <optional>

/// Stations in ascending orderIndex; equal values keep their project order.
QList<Station> sortedByOrderIndex(QList<Station> stations);

/// The station named by startingStationID when it exists, else the first in
/// station order; no value for a tour without stations.
std::optional<Station> startStation(const LumivaneProject &project);
