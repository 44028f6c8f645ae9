#pragma once

#include "MapCamera.h"

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

class MapTileSource;
struct MapTileKey;
class QPainter;

// Drawing of the location map card's layers, back to front, in view pixels.
// GUI thread only.

/// The neutral ground and a graticule of round latitudes and longitudes,
/// spaced so that lines stay some 40 pixels or more apart: what the card
/// shows where no tile is at hand.
void paintMapGround(QPainter &painter, const MapCamera &camera, QSizeF viewSize);

/// The tile level drawn for a camera: the nearest whole zoom the source has.
int tileZoomFor(const MapCamera &camera);

/// The tiles covering the view at tileZoomFor(camera), nearest the centre
/// first. Columns wrap round the world; rows stop at its edge.
QList<MapTileKey> visibleTiles(const MapCamera &camera, QSizeF viewSize);

/// The tiles at hand; a missing tile is stood in for by the nearest coarser
/// tile at hand, magnified, so zooming never shows holes where it can help it.
void paintMapTiles(QPainter &painter, const MapCamera &camera, QSizeF viewSize, const MapTileSource &tiles);

/// The pin with its tip at `tip` and its title under it, upright whatever the
/// map's rotation; an empty title draws the pin alone.
void paintMapPin(QPainter &painter, QPointF tip, const QString &title, double maxTitleWidth);
