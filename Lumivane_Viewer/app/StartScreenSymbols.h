#pragma once

#include <QBrush>
#include <QColor>
#include <QRectF>

class QPainter;

/// Our own drawings of the two symbols the start screen shows: a see-through
/// cube and a filled folder. Each fills the given square, keeping its aspect.
namespace StartScreenSymbols {

/// A cube seen from above a corner: the three visible faces drawn translucent
/// over the hidden edges, all in `brush`.
void paintCube(QPainter &painter, const QRectF &square, const QBrush &brush);

/// A closed folder with its tab, filled with `color`.
void paintFolder(QPainter &painter, const QRectF &square, const QColor &color);

} // namespace StartScreenSymbols
