#pragma once

#include "model/Hotspot.h"

#include <QString>

class Panorama360ViewerView;

/// How assistive technology names a hotspot marker of the panorama, one of
/// the painted items it sees as its children (PaintedItemHost).
/// A navigation marker reads as its label (number and target station), an
/// info marker as its title in the view's language; the hotspot's own label
/// when neither has a text.
QString markerAccessibleName(const Hotspot &hotspot, const Panorama360ViewerView &view);
