#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QUuid>

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
