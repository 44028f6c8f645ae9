#include "PanoramaAccessibility.h"

#include "Panorama360ViewerView.h"
#include "PanoramaHotspotNodes.h"

#include "model/DisplayText.h"

QString markerAccessibleName(const Hotspot &hotspot, const Panorama360ViewerView &view)
{
    const Panorama360ViewerView::Inputs &inputs = view.inputs();
    const QString name =
        hotspot.kind == HotspotKind::navigation
            ? PanoramaHotspotNodes::stationLabel(hotspot.targetStationID, inputs.stationNames, inputs.stationNumbers)
                  .value_or(QString())
            : hotspot.localizedInfoTitle(inputs.languageCode).value_or(QString());
    return displayLine(name.isEmpty() ? hotspot.label.value_or(QString()) : name);
}
