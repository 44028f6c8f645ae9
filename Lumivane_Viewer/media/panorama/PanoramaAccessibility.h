#pragma once

#include "model/Hotspot.h"

#include <QString>

class Panorama360ViewerView;

/// Registers, once per process, how assistive technology sees a panorama:
/// the hotspot markers in view now are its children, left to right, each a
/// button named by markerAccessibleName() whose Press action does what a
/// click on it does. The view announces when the set in view changes.
/// GUI thread.
void installPanoramaAccessibility();

/// A navigation marker reads as its label (number and target station), an
/// info marker as its title in the view's language; the hotspot's own label
/// when neither has a text.
QString markerAccessibleName(const Hotspot &hotspot, const Panorama360ViewerView &view);
