#pragma once

#include "SampleTourOptions.h"

#include <QString>

/// Writes a complete .lumivane package to outputPath: photos rendered by
/// RoomRenderer, artwork, media and project.json. Photos go through temporary
/// files one at a time, so the memory used does not grow with the number of
/// stations. Needs a QGuiApplication; blocks until the package is written.
SampleTourResult writeSampleTour(const SampleTourOptions &options, const QString &outputPath);
