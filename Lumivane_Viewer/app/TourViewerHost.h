#pragma once

#include "TourViewerInputs.h"

#include "viewer/ViewerServices.h"

class QWidget;

/// Builds the tour viewer the window shows for an opened tour, from its
/// viewer inputs and the services it is handed: a fresh viewer, with a fresh
/// visit, each time. The window calls nothing else to show a tour.
namespace TourViewerHost {

QWidget *buildViewer(TourViewerInputs inputs, const ViewerServices &services, QWidget *parent);

} // namespace TourViewerHost
