#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>

class QPainter;

/// Fills a rounded rectangle with the image scaled to fill it, aspect kept
/// and the overflow cut, centred.
void paintFilledImage(QPainter &painter, const QRectF &rect, double cornerRadius, const QImage &image);

/// Fills a rounded rectangle with a colour.
void paintRoundedFill(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &color);

/// Strokes a rounded rectangle's outline, the line centred on its edge.
void paintRoundedOutline(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &color,
                         double lineWidth);

/// Fill and outline of a rounded rectangle as above, drawn once per size,
/// colours and pixel ratio into a shared pixmap that every later call only
/// copies: for the many equal cells of a grid or strip. The copy lands on
/// whole device pixels.
void paintRoundedSprite(QPainter &painter, const QRectF &rect, double cornerRadius, const QColor &fill,
                        const QColor &outline = Qt::transparent, double lineWidth = 0);
