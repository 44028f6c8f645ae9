#include "TourViewerHost.h"

#include "viewer/LumivaneViewerSheet.h"

namespace TourViewerHost {

QWidget *buildViewer(TourViewerInputs inputs, const ViewerServices &services, QWidget *parent)
{
    ViewerTour tour;
    tour.project = std::move(inputs.project);
    tour.projectID = inputs.projectID;
    tour.photoURLResolver = std::move(inputs.photoURLResolver);
    tour.attachmentURLResolver = std::move(inputs.attachmentURLResolver);
    tour.audioURLResolver = std::move(inputs.audioURLResolver);
    // The shell gives no close callback: closing is the window's dismiss.
    tour.dismiss = std::move(inputs.dismiss);
    return new LumivaneViewerSheet(std::move(tour), services, parent);
}

} // namespace TourViewerHost
