#pragma once

#include "FloorplanImage.h"
#include "FloorplanMarkers.h"
#include "widgets/PaintedItemAccessibility.h"
#include "model/Station.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class L10n;

/// The unfolded floor plan: an optional level band over the plan image
/// with one round marker per placed station of the level. Paints and
/// hit-tests the markers itself; a click reports the marker's station.
class FloorplanPanel final : public PaintedItemWidget<QWidget>
{
public:
    static constexpr double width = 220;

    /// Markers name stations of this list, the project's.
    FloorplanPanel(QList<Station> stations, QColor accent, L10n &l10n, QWidget *parent);

    void setPlan(FloorplanImage plan);
    /// The band's text (empty: no band) and the markers on the plan.
    void setMarkers(QString levelBand, QList<FloorplanMarker> markers);
    void setAccent(const QColor &accent);
    /// The whole panel's opacity while it fades in or out.
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }

    std::function<void(QUuid)> onSelectStation;

    /// The panel's height at its fixed width.
    double contentHeight() const;
    /// Where a station's marker is centred in the panel; none when not drawn.
    std::optional<QPointF> markerCentre(const QUuid &stationID) const;

    QSize sizeHint() const override;

    int paintedItemCount() const override;
    QString paintedItemName(int index) const override;
    QRect paintedItemRect(int index) const override;
    void pressPaintedItem(int index) override;
    std::optional<int> paintedItemAt(QPointF position) const override;
    bool isCurrentPaintedItem(int index) const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    double bandHeight() const;
    QRectF planRect() const;
    QRectF markerRect(const FloorplanMarker &marker) const;
    QString stationName(const FloorplanMarker &marker) const;
    void paintMarker(QPainter &painter, const FloorplanMarker &marker);

    QColor m_accent;
    QPointer<L10n> m_l10n;
    FloorplanImage m_plan;
    QString m_levelBand;
    QList<Station> m_stations;
    QList<FloorplanMarker> m_markers;
    double m_opacity = 1;
};
