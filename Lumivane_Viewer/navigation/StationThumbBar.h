#pragma once

#include "widgets/PaintedItemAccessibility.h"
#include "StationThumbnailLoader.h"
#include "ThumbStripLayout.h"
#include "model/Station.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class L10n;
class LumivaneImageCache;
class QVariantAnimation;

/// The strip of station thumbnails along the bottom of the station view:
/// every station given, in runs of one level with captions when the tour
/// has several, the current one outlined in the accent, scrolled to the
/// middle when it changes. Knows nothing of navigation: a click is reported
/// through onSelect. Paints only the cells in view; their photos arrive from
/// scaled background decodes over a grey placeholder.
/// Size policy: as wide as its parent gives, fixed height (92, or 108 with
/// several levels); the owner lays it along the bottom edge.
class StationThumbBar final : public PaintedItemWidget<QWidget>
{
public:
    StationThumbBar(QList<Station> stations, std::optional<QUuid> currentStationID,
                    StationPhotoResolver photoURLResolver, QHash<QUuid, QString> stationNumbers, QColor accent,
                    L10n &l10n, std::shared_ptr<LumivaneImageCache> imageCache, QWidget *parent = nullptr);

    /// A change to a station the strip shows scrolls its cell to the middle
    /// with an ease-out of 0.35 s; none or an unknown id leaves it in place.
    void setCurrentStationID(const std::optional<QUuid> &stationID);
    std::optional<QUuid> currentStationID() const { return m_currentStationID; }
    void setAccent(const QColor &accent);

    /// Called with the id of the clicked cell, also the current one.
    std::function<void(QUuid)> onSelect;

    /// How far the strip is scrolled, in logical pixels from its start.
    double scrollOffset() const { return m_scrollOffset; }
    double contentWidth() const { return m_layout.contentWidth; }
    /// A cell's rectangle in the widget, scrolled; empty for an unknown id.
    QRectF cellRect(const QUuid &stationID) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    int paintedItemCount() const override;
    QString paintedItemName(int index) const override;
    QRect paintedItemRect(int index) const override;
    void pressPaintedItem(int index) override;
    std::optional<int> paintedItemAt(QPointF position) const override;
    bool isCurrentPaintedItem(int index) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void revealPaintedItem(int index) override;

private:
    void relayout();
    void scrollTo(double offset);
    void setScrollOffset(double offset);
    double maxScrollOffset() const;
    QPair<qsizetype, qsizetype> visibleCells(double margin) const;
    void requestThumbnails();
    void paintCell(QPainter &painter, const ThumbStripCell &cell);
    void paintBadge(QPainter &painter, const QRectF &thumbnail, const QString &number);
    QString elidedName(qsizetype stationIndex, bool current);

    QList<Station> m_stations;
    std::optional<QUuid> m_currentStationID;
    QHash<QUuid, QString> m_stationNumbers;
    QColor m_accent;
    QPointer<L10n> m_l10n;
    StationThumbnailLoader *m_loader;
    QVariantAnimation *m_scroll;
    ThumbStripLayout m_layout;
    QHash<qsizetype, QString> m_elidedNames; // regular weight, by station index
    double m_scrollOffset = 0;
};
