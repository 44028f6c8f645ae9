#pragma once

#include "app/package/LumivaneImportedTour.h"
#include "viewer/ViewerServices.h"
#include "viewer/state/ViewerTour.h"

class QWidget;

/// Builds the tour viewer the window shows for an opened tour, from the
/// services it is handed: a fresh viewer, with a fresh visit, each time. The
/// window calls nothing else to show a tour.
namespace TourViewerHost {

/// What the viewer is given of an opened tour: the project by value, its id
/// and the three resolvers, each holding its own copy of the tour. No way
/// out: the window sets the dismiss it closes the tour with.
ViewerTour viewerTour(const LumivaneImportedTour &tour);

QWidget *buildViewer(ViewerTour tour, const ViewerServices &services, QWidget *parent);

} // namespace TourViewerHost
