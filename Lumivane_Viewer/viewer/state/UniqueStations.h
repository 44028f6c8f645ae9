#pragma once

#include "model/Station.h"

#include <QList>

/// The stations with the first of each id kept, in their order; the others
/// are left out with one warning for the whole list, since every lookup of
/// the viewer finds a station by its id.
QList<Station> uniqueStations(const QList<Station> &stations);
