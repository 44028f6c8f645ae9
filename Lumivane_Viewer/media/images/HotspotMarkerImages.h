#pragma once

#include "HotspotGlyph.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>

/// The bitmaps that texture the panorama's hotspot planes, drawn by code and
/// kept for the life of the process: a second call with the same key returns
/// the same image (same QImage::cacheKey()). Sizes are in points; the images
/// carry a device pixel ratio of markerImagePixelRatio. Thread-safe.
inline constexpr double markerImagePixelRatio = 2.0;

/// Core of the ripple look, 128 x 128 points.
QImage coreMarkerImage(const QColor &color);
/// One ring of the ripple look, 128 x 128 points.
QImage rippleRingImage(const QColor &color);
/// Halo of the classic look, 256 x 256 points.
QImage classicHaloImage(const QColor &color);
/// Icon of the classic look, 256 x 256 points. No system symbol set exists
/// here, so every symbol name falls back to the drawn glyph; the name still
/// keys its own entry.
QImage markerIconImage(const QColor &color, HotspotGlyph glyph, const std::optional<QString> &symbolName = std::nullopt);
/// Station label: white text in a dark rounded box with a pointer below,
/// sized to the text.
QImage hotspotLabelImage(const QString &text);

/// The memo key of a marker colour: its red, green and blue components as
/// shortest round-trip decimals joined by ","; alpha is not part of it.
QString markerColorKey(const QColor &color);
