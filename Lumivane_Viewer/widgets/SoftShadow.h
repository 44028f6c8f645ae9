#pragma once

#include <QColor>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>

class QPainter;

/// A drop shadow as the views describe one: colour (with its opacity), blur
/// radius and offset in logical pixels, y downward. The blur is a Gaussian
/// whose standard deviation is half the radius.
struct DropShadow
{
    QColor color;
    double radius = 0;
    QPointF offset;
};

/// How far the shadow reaches beyond its shape on each side, offset included.
QMarginsF shadowMargins(const DropShadow &shadow);

/// Paints the shadow of a rounded rectangle (a capsule when the corner radius
/// is half the height, a disc when it is also square) for a shape at `shape`.
/// The blurred silhouette is computed once per size, corner, blur, colour and
/// device pixel ratio and then only copied, so it is cheap to repaint, also
/// over the panorama. GUI thread only.
void paintRoundedRectShadow(QPainter &painter, const QRectF &shape, double cornerRadius, const DropShadow &shadow);
