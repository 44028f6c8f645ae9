#include "PanoramaAccessibility.h"

#include "Panorama360ViewerView.h"

#include "model/DisplayText.h"

QString markerAccessibleName(const Hotspot &hotspot, const Panorama360ViewerView &view)
{
    const Panorama360ViewerView::Inputs &inputs = view.inputs();
    QString name;
    if (hotspot.kind == HotspotKind::navigation) {
        name = inputs.stationNames.value(hotspot.targetStationID);
        const QString number = inputs.stationNumbers.value(hotspot.targetStationID);
        if (!name.isEmpty() && !number.isEmpty())
            name = number + QStringLiteral(" \u00B7 ") + name;
    } else {
        name = hotspot.localizedInfoTitle(inputs.languageCode).value_or(QString());
    }
    return displayLine(name.isEmpty() ? hotspot.label.value_or(QString()) : name);
}
