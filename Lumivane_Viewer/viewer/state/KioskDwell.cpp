#include "viewer/state/KioskDwell.h"

#include <algorithm>

double kioskDwellSeconds(const LumivaneProject &project, double narrationSeconds)
{
    const double base = project.renderMode == RenderMode::classic
                            ? std::max(double(project.classicPhotoDurationSec), 3.0)
                            : std::max(double(project.kioskStationDuration), 40.0);
    const double narrationWithPause = narrationSeconds + 4.0;
    if (narrationSeconds > 0 && base <= narrationWithPause)
        return narrationWithPause;
    return base;
}
