#pragma once

#include "model/AnimationCurve.h"
#include "model/Hotspot.h"
#include "viewer/ViewFactories.h"
#include "viewer/chrome/ReservedAreas.h"
#include "viewer/station/PhotoSizeCache.h"

#include <QList>
#include <QPointer>
#include <QRectF>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <optional>

class ClassicInfoMarker;
class LumivaneClassicViewer;
class SymbolButton;

/// The media layer of classic tours: the slideshow of the stations in
/// station order; over it, when there is a current station, its caption
/// band and a marker for each of its info hotspots at its place in the
/// fitted photo; on top the previous and next buttons, which wrap around
/// and are hidden during the kiosk tour. The caption stands above the
/// thumbnail strip and beside the information panel, and the buttons, level
/// with each other, above the floor plan.
class ClassicMediaLayer final : public QWidget
{
public:
    explicit ClassicMediaLayer(const ViewFactoryContext &context, QWidget *parent = nullptr);

    /// Shows what the controller's state asks for now; a change of station
    /// animates in the slideshow under the given animation.
    void refresh(ViewerAnimation animation);
    /// Only the overlay column, the thumbnail strip, the floor plan and the
    /// information panel count.
    void setReservedAreas(const ReservedAreas &areas);
    /// The areas its step buttons and caption hold now.
    void reserveOwnAreas(ReservedAreas &areas) const;

    LumivaneClassicViewer *slideshow() const { return m_slideshow; }
    QWidget *captionBand() const { return m_caption; }
    /// The markers now shown, in the order of the station's info hotspots.
    QList<ClassicInfoMarker *> markers() const;
    /// Where the current photo lies in the layer.
    QRectF fittedPhotoRect() const;
    SymbolButton *previousButton() const { return m_previous; }
    SymbolButton *nextButton() const { return m_next; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuildMarkers(const QList<Hotspot> &hotspots);
    void layOut();
    void placeMarkers();

    ViewFactoryContext m_context;
    LumivaneClassicViewer *m_slideshow = nullptr;
    QPointer<QWidget> m_caption;
    SymbolButton *m_previous = nullptr;
    SymbolButton *m_next = nullptr;
    struct Marker
    {
        QPointer<ClassicInfoMarker> view;
        Hotspot hotspot;
    };

    QList<Marker> m_markers;
    ReservedAreas m_reserved;
    QList<Hotspot> m_markerHotspots; // what the markers were made from
    std::optional<QUuid> m_markerStation;
    QUrl m_photoURL;
    mutable PhotoSizeCache m_photoSizes;
};
