#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QStringView>

class QPainter;

// Named symbols ("xmark", "house.fill", "speaker.wave.2.fill"...) drawn from
// the bundled single-colour icon set. A symbol is sized like a glyph of a
// font of `points` logical pixels: it fills a square box of
// symbolBoxSide(points), where round symbols come out about 1.2 times and
// bare marks such as "xmark" about 0.85 times the font size. The icon set has
// one stroke weight; the font weights views ask for do not change it.
// GUI thread only (pixmaps).

/// Side in logical pixels of the square a symbol of a font size fills.
double symbolBoxSide(double points);

/// Whether the icon set has a symbol of this name.
bool hasSymbol(QStringView name);

/// The symbol in `color` (its alpha included), rendered for the device pixel
/// ratio so it stays crisp, and memoised per name, size, colour and ratio.
/// An unknown name is a programming error: it asserts, warns and draws an
/// empty box instead.
QPixmap symbolPixmap(QStringView name, double points, const QColor &color, qreal devicePixelRatio);

/// Draws symbolPixmap centred on `centre`, snapped to the device's pixel grid
/// so its edges stay sharp, at the ratio of the painter's device.
void drawSymbol(QPainter &painter, QPointF centre, QStringView name, double points, const QColor &color);
