#pragma once

#include <QColor>
#include <QPointF>

#include <functional>

class QImage;
class QPainter;

/// A drop shadow under one drawing step of a marker canvas, as offset and
/// blur in points (y upward) and colour. QPainter has no shadows of its own.
struct MarkerShadow
{
    QPointF offset;
    double blur = 0;
    QColor color;

    /// Runs draw on a transparent layer the size of canvas (drawing through
    /// the same transform as canvasPainter), then puts the blurred, tinted,
    /// offset silhouette of that layer on the canvas and the layer over it.
    void paint(QImage &canvas, QPainter &canvasPainter, const std::function<void(QPainter &)> &draw) const;
};

/// Blurs the alpha channel of a premultiplied ARGB image in place with three
/// box passes, close to a Gaussian of the given standard deviation in pixels.
void blurAlpha(QImage &image, double sigma);
