#include "TourViewerInputs.h"

#include "TourResolvers.h"

TourViewerInputs TourViewerInputs::from(const LumivaneImportedTour &tour)
{
    TourViewerInputs inputs;
    inputs.project = tour.project;
    inputs.projectID = tour.project.id;
    inputs.photoURLResolver = [tour](const QUuid &stationID) { return TourResolvers::photoURL(tour, stationID); };
    inputs.attachmentURLResolver = [tour](const QString &name) { return TourResolvers::attachmentURL(tour, name); };
    inputs.audioURLResolver = [tour](const QUuid &stationID) { return TourResolvers::audioURL(tour, stationID); };
    return inputs;
}
