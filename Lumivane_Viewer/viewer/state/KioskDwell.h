#pragma once

#include "model/LumivaneProject.h"

/// Seconds the kiosk tour stays on a station: the project's duration, at
/// least 3 s per photo in classic tours and at least 40 s (one panorama turn)
/// otherwise; a narration of narrationSeconds that is not shorter than that
/// minus 4 s stretches it to the narration plus 4 s.
double kioskDwellSeconds(const LumivaneProject &project, double narrationSeconds);
