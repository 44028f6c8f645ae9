#include "TourViewerHost.h"

#include "TourPlaceholderView.h"

namespace TourViewerHost {

QWidget *buildViewer(TourViewerInputs inputs, QWidget *parent)
{
    return new TourPlaceholderView(inputs.project, parent);
}

} // namespace TourViewerHost
