#include "viewer/station/PanoramaInputs.h"

#include "viewer/state/ViewerController.h"

#include <algorithm>

namespace {

constexpr double minimumKioskTurnSeconds = 40;
constexpr double vrFieldOfView = 90;
constexpr double vrTurnSeconds = 90;

// What both kinds share: the station's photo, markers and initial view, the
// photo of the station a change is on its way to, and the viewer's one-shot
// commands and visited set.
Panorama360ViewerView::Inputs stationInputs(const ViewerController &controller)
{
    Panorama360ViewerView::Inputs inputs;
    const ViewerState &state = controller.state();
    const ViewerTour &tour = controller.tour();
    if (const std::optional<Station> station = controller.currentStation()) {
        if (const std::optional<QUrl> photo = tour.photoURLResolver(station->id))
            inputs.imageURL = *photo;
        inputs.hotspots = station->hotspots;
        inputs.initialYaw = station->initialYaw;
        inputs.initialPitch = station->initialPitch;
    }
    if (state.arrivingStationID) {
        if (const std::optional<QUrl> photo = tour.photoURLResolver(*state.arrivingStationID))
            inputs.arrivingImageURL = *photo;
    }
    inputs.resetHorizonTrigger = state.resetHorizonTrigger;
    inputs.resetViewTrigger = state.resetViewTrigger;
    inputs.visitedStationIDs = state.visitedStationIDs;
    return inputs;
}

} // namespace

StationLabelMaps StationLabelMaps::of(const ViewerController &controller)
{
    return {controller.stationNameMap(), controller.stationNumberMap()};
}

Panorama360ViewerView::Inputs singlePanoramaInputs(ViewerController &controller, const StationLabelMaps &labels)
{
    Panorama360ViewerView::Inputs inputs = stationInputs(controller);
    const ViewerState &state = controller.state();
    const LumivaneProject &project = controller.project();
    inputs.autoRotate = state.kioskActive;
    inputs.autoRotateDurationSeconds = std::max(double(project.kioskStationDuration), minimumKioskTurnSeconds);
    inputs.hideHotspots = state.kioskActive;
    inputs.fov = state.currentFOV;
    inputs.stationNames = labels.names;
    inputs.stationNumbers = labels.numbers;
    inputs.onHotspotTap = [&controller](const Hotspot &hotspot) {
        // The panorama's own list may be replaced while the tap runs.
        const Hotspot tapped = hotspot;
        controller.handleHotspotTap(tapped);
    };
    inputs.onFieldOfViewChanged = [&controller](double fieldOfView) { controller.followZoom(fieldOfView); };
    inputs.hotspotStyle = project.hotspotStyle;
    inputs.showHotspotLabels = project.showHotspotLabels;
    return inputs;
}

Panorama360ViewerView::Inputs vrPanoramaInputs(const ViewerController &controller, const StationLabelMaps &labels)
{
    Panorama360ViewerView::Inputs inputs = stationInputs(controller);
    inputs.autoRotate = false;
    inputs.autoRotateDurationSeconds = vrTurnSeconds;
    inputs.hideHotspots = true;
    inputs.fov = vrFieldOfView;
    inputs.stationNames = labels.names;
    inputs.onHotspotTap = [](const Hotspot &) {};
    inputs.hotspotStyle = HotspotStyle::classic;
    inputs.showHotspotLabels = true;
    return inputs;
}

bool showSame(const Panorama360ViewerView::Inputs &a, const Panorama360ViewerView::Inputs &b)
{
    return a.imageURL == b.imageURL && a.arrivingImageURL == b.arrivingImageURL && a.hotspots == b.hotspots
           && a.autoRotate == b.autoRotate
           && a.autoRotateDurationSeconds == b.autoRotateDurationSeconds && a.hideHotspots == b.hideHotspots
           && a.initialYaw == b.initialYaw && a.initialPitch == b.initialPitch && a.fov == b.fov
           && a.resetHorizonTrigger == b.resetHorizonTrigger && a.resetViewTrigger == b.resetViewTrigger
           && a.visitedStationIDs == b.visitedStationIDs && a.stationNames == b.stationNames
           && a.stationNumbers == b.stationNumbers && a.hotspotStyle == b.hotspotStyle
           && a.showHotspotLabels == b.showHotspotLabels && a.interactive == b.interactive
           && a.languageCode == b.languageCode;
}
