#include "TourViewerHost.h"

#include "TourResolvers.h"

#include "viewer/LumivaneViewerSheet.h"

namespace TourViewerHost {

ViewerTour viewerTour(const LumivaneImportedTour &tour)
{
    ViewerTour viewer;
    viewer.project = tour.project;
    viewer.projectID = tour.project.id;
    viewer.photoURLResolver = [tour](const QUuid &stationID) { return TourResolvers::photoURL(tour, stationID); };
    viewer.attachmentURLResolver = [tour](const QString &name) { return TourResolvers::attachmentURL(tour, name); };
    viewer.audioURLResolver = [tour](const QUuid &stationID) { return TourResolvers::audioURL(tour, stationID); };
    return viewer;
}

QWidget *buildViewer(ViewerTour tour, const ViewerServices &services, QWidget *parent)
{
    return new LumivaneViewerSheet(std::move(tour), services, parent);
}

} // namespace TourViewerHost
