#pragma once

#include "media/panorama/Panorama360ViewerView.h"

#include <QHash>
#include <QString>
#include <QUuid>

class ViewerController;

/// The station labels the panoramas show on navigation markers; they depend
/// on the project alone, so they are worked out once per tour.
struct StationLabelMaps
{
    QHash<QUuid, QString> names;
    QHash<QUuid, QString> numbers;

    static StationLabelMaps of(const ViewerController &controller);
};

/// The single panorama of the current station, from the controller's state:
/// turning by itself and without markers during the kiosk tour, at the
/// visitor's field of view, which its scroll wheel zooms (followZoom); a
/// click on a marker goes to handleHotspotTap.
/// While a station change fades to black, the arriving station's photo
/// comes next.
Panorama360ViewerView::Inputs singlePanoramaInputs(ViewerController &controller, const StationLabelMaps &labels);

/// One half of the VR pair: the current station at a field of view of 90,
/// without markers and deaf to clicks on them, never turning by itself.
Panorama360ViewerView::Inputs vrPanoramaInputs(const ViewerController &controller, const StationLabelMaps &labels);

/// Whether two sets of inputs show the same (their callbacks aside): the
/// viewer hands a panorama new inputs only when they differ, since each
/// update rebuilds its markers.
bool showSame(const Panorama360ViewerView::Inputs &a, const Panorama360ViewerView::Inputs &b);
