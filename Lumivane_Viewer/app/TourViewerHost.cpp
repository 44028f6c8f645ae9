#include "TourViewerHost.h"

#include "viewer/TourPlaceholderView.h"

namespace TourViewerHost {

// The placeholder shows the project alone and needs none of the services.
QWidget *buildViewer(TourViewerInputs inputs, const ViewerServices &, QWidget *parent)
{
    return new TourPlaceholderView(inputs.project, parent);
}

} // namespace TourViewerHost
