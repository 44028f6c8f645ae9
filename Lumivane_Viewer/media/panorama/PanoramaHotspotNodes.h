#pragma once

#include "media/images/HotspotGlyph.h"
#include "model/Hotspot.h"
#include "model/ModelEnums.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <memory>
#include <optional>

class SceneNode;

/// Builds the marker nodes of a panorama's hotspots: per hotspot a group
/// named "hotspot_" + its upper-case id, with a billboarded marker (classic
/// halo and icon, or ripple core and rings), an optional station label and an
/// invisible hit sphere, placed at radius 9 in the photo sphere's frame.
/// Rebuilds the whole set on every sync, but a hotspot whose look did not
/// change carries its running animations over, so markers do not restart.
class PanoramaHotspotNodes final
{
public:
    /// The inputs of the panorama view that the markers depend on.
    struct Inputs
    {
        QList<Hotspot> hotspots;
        bool hideHotspots = false;
        QSet<QUuid> visitedStationIDs;
        QHash<QUuid, QString> stationNames;
        QHash<QUuid, QString> stationNumbers;
        HotspotStyle hotspotStyle = HotspotStyle::classic;
        bool showHotspotLabels = true;
    };

    static constexpr double markerRadius = 9.0;
    static constexpr double hitSphereRadius = 0.9;

    /// Replaces every child of `hotspotsRoot` by the nodes of the current
    /// inputs; `now` is the scene clock's time for the new animations.
    void sync(SceneNode *hotspotsRoot, const Inputs &inputs, double now);

    /// The group of one hotspot, not yet attached.
    static std::unique_ptr<SceneNode> makeHotspotNode(const Hotspot &hotspot, const Inputs &inputs, double now);

    /// "hotspot_" followed by the id in upper case without braces.
    static QString nodeName(const QUuid &id);
    /// The id in a node name made by nodeName(), upper or lower case.
    static std::optional<QUuid> idFromNodeName(const QString &name);

    /// Position in the sphere's frame, computed in single precision.
    static void markerPosition(double yaw, double pitch, double &x, double &y, double &z);
    /// The system symbol for an info hotspot's attachments: one distinct kind
    /// gives its symbol, none or several give none.
    static std::optional<QString> symbolName(const Hotspot &hotspot);
    /// The label text of a navigation hotspot, or none.
    static std::optional<QString> labelText(const Hotspot &hotspot, const Inputs &inputs);
    /// How a marker names the station it leads to: its number and name, its
    /// name alone, or none without a name.
    static std::optional<QString> stationLabel(const QUuid &stationID, const QHash<QUuid, QString> &names,
                                               const QHash<QUuid, QString> &numbers);
    /// How far from its centre the hotspot's marker is drawn (the classic
    /// halo, or the ripples at their widest), in the units of the sphere.
    static double drawnRadius(const Hotspot &hotspot, const Inputs &inputs);

private:
    static QString lookSignature(const Hotspot &hotspot, const Inputs &inputs);

    QHash<QUuid, QString> m_signatures;
};
