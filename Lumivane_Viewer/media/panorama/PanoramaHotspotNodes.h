#pragma once

#include "media/images/HotspotGlyph.h"
#include "model/Hotspot.h"
#include "model/ModelEnums.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QMatrix4x4>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QUuid>
#include <QVector3D>

#include <memory>
#include <optional>
#include <vector>

class Scene;
class SceneNode;

/// Builds the marker nodes of a panorama's hotspots: per hotspot a group
/// named "hotspot_" + its upper-case id, with a billboarded marker (classic
/// halo and icon, or ripple core and rings), an optional station label and an
/// invisible hit sphere, placed at radius 9 in the photo sphere's frame.
/// Only the markers a view shows have nodes: the others cost neither a
/// frame nor a click. A marker keeps its nodes, and their running
/// animations, while it stays in view and its look does not change; one
/// that comes into view takes up its animations where they would be had
/// they run since its station's markers were first shown.
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

    /// What a view shows: the camera's field of view, seen from the frame the
    /// markers are placed in as it is drawn now.
    struct View
    {
        QMatrix4x4 toCamera;
        double tanHalfHeight = 0.0; ///< of the vertical field of view; 0: the view shows nothing
        double tanHalfWidth = 0.0;

        /// The view of `viewport` (logical pixels) through the scene's camera.
        static View of(const Scene &scene, const SceneNode &hotspotsRoot, QSizeF viewport);
    };

    static constexpr double markerRadius = 9.0;
    static constexpr double hitSphereRadius = 0.9;
    /// The most markers that have nodes at once: a view crowded beyond it
    /// draws the ones nearest its middle (and says so once per station
    /// shown), so that a crowded station turns as an ordinary one does on a
    /// software renderer (bench_viewer_markers).
    static constexpr int shownLimit = 100;

    /// Takes the inputs of the view's update; nodes change in showInView().
    void sync(const Inputs &inputs, double now);
    /// Gives `hotspotsRoot` the groups of the markers `view` shows, in the
    /// order of the hotspots, and no others; `now` is the scene clock's time.
    void showInView(SceneNode &hotspotsRoot, const View &view, double now);

    /// The hotspots whose markers have nodes now, in the order of the hotspots.
    QList<QUuid> shownMarkers() const;

    /// The group of one hotspot, not yet attached, its animations under way
    /// since `animationStart` (`now` when none).
    static std::unique_ptr<SceneNode> makeHotspotNode(const Hotspot &hotspot, const Inputs &inputs, double now,
                                                      std::optional<double> animationStart = std::nullopt);

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
    /// A hotspot that has a marker: where it is, how far round it its nodes
    /// reach at most, and since when its animations run.
    struct Marker
    {
        qsizetype hotspot = 0; // in m_inputs.hotspots
        QUuid id;
        QVector3D position;
        float reach = 0.0f;
        double animationStart = 0.0;
    };
    /// A group under hotspotsRoot, in the order of the children.
    struct Shown
    {
        QUuid id;
        QString look;
    };

    static QString lookSignature(const Hotspot &hotspot, const Inputs &inputs);
    static double reach(const Hotspot &hotspot, const Inputs &inputs);
    std::vector<int> markersInView(const View &view);

    Inputs m_inputs;
    std::vector<Marker> m_markers; // in the order of the hotspots
    std::vector<int> m_shownMarkers; // indexes into m_markers, ascending
    std::vector<Shown> m_shown;
    bool m_restyled = false; // looks or markers changed since the last showInView()
    bool m_toldLimit = false;
};
