#pragma once

#include "model/Station.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QUuid>

#include <optional>

/// One marker on the plan of the current station's level.
struct FloorplanMarker
{
    qsizetype stationIndex = 0; // position in the project's station list
    QPointF position;           // fractions of the plan's width and height
    QString label;
    bool isCurrent = false;
    bool isStart = false;

    bool operator==(const FloorplanMarker &) const = default;
};

/// The markers of the current station's level (no current station: the
/// empty level; levels compared as isSameLevel does), back to front in
/// station order. Stations without both plan coordinates get no marker but
/// keep their number, so the numbers shown can skip values. The station
/// named by startingStationID reads "★" instead; without that field no
/// station does.
QList<FloorplanMarker> floorplanMarkers(const QList<Station> &stations,
                                        const std::optional<QUuid> &startingStationID,
                                        const std::optional<Station> &currentStation);

/// How a marker is drawn, back to front: an optional halo, a disc with a
/// white ring, and the label.
struct MarkerLook
{
    double diameter = 18;
    std::optional<QColor> halo; // a disc 12 wider than the marker
    QColor disc;
    double ringWidth = 1;
    QColor label;
    double labelPoints = 0;
};

MarkerLook markerLook(bool isCurrent, bool isStart, const QColor &accent);
