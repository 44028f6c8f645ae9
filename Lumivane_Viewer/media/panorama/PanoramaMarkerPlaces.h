#pragma once

#include "model/Hotspot.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QUuid>
#include <QVector3D>

#include <optional>

class Scene;
class SceneNode;

/// Where one hotspot marker lies in the view as it is drawn now.
struct PanoramaMarkerPlace
{
    QUuid hotspotID;
    QRectF rect; // the marker's hit sphere, in the view's logical pixels
};

/// The markers under `hotspotsRoot` (the groups PanoramaHotspotNodes made)
/// whose centre lies in front of the camera and inside a view of size
/// `viewport`, left to right.
QList<PanoramaMarkerPlace> visibleMarkerPlaces(const Scene &scene, const SceneNode &hotspotsRoot, QSizeF viewport);

/// Where the hit sphere of a marker at `position` in the frame of
/// `hotspotsRoot` lies in a view of size `viewport`, whether or not it has
/// nodes; none while it is behind the camera.
std::optional<QRectF> markerRect(const Scene &scene, const SceneNode &hotspotsRoot, QVector3D position,
                                 QSizeF viewport);

/// The hotspots that have markers (not pending), as indexes into `hotspots`,
/// in the order they stand round the station: clockwise from a quarter
/// turn left of the initial direction (yaw pi without one), so that those
/// the station opens on come first, left to right, and the ones behind
/// follow.
QList<qsizetype> markerRoundOrder(const QList<Hotspot> &hotspots, std::optional<double> initialYaw);
