#pragma once

#include "TourViewerInputs.h"

class QWidget;

/// Builds what the window shows for an opened tour from its viewer inputs.
/// The window calls nothing else to show a tour.
namespace TourViewerHost {

QWidget *buildViewer(TourViewerInputs inputs, QWidget *parent);

} // namespace TourViewerHost
