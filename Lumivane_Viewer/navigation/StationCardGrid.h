#pragma once

#include "CardGridLayout.h"
#include "widgets/PaintedItemAccessibility.h"
#include "StationThumbnailLoader.h"
#include "model/Station.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class L10n;
class LumivaneImageCache;

/// The scrolling grid of station cards of the table of contents, under
/// level headings or flat. One widget paints the cards in view and hit-tests
/// them itself; their photos arrive from scaled background decodes over a
/// black thumbnail. A click on a card is reported through onChoose.
class StationCardGrid final : public PaintedItemWidget<QAbstractScrollArea>
{
public:
    StationCardGrid(QList<Station> stations, std::optional<QUuid> currentStationID,
                    StationPhotoResolver photoURLResolver, QColor accent, L10n &l10n,
                    std::shared_ptr<LumivaneImageCache> imageCache, QWidget *parent);
    ~StationCardGrid() override;

    /// Shows these groups of the station list, scrolled to the top.
    void setGroups(QList<CardGroup> groups);
    /// Drops the names measured for the last language.
    void retranslate();

    std::function<void(QUuid)> onChoose;

    /// A card's rectangle in the viewport, scrolled; empty when not shown.
    QRectF cardRect(const QUuid &stationID) const;
    const CardGridLayout &gridLayout() const { return m_layout; }

    int paintedItemCount() const override;
    QString paintedItemName(int index) const override;
    QRect paintedItemRect(int index) const override;
    void pressPaintedItem(int index) override;
    std::optional<int> paintedItemAt(QPointF viewportPosition) const override;
    bool isCurrentPaintedItem(int index) const override;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void revealPaintedItem(int index) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void relayout();
    double scrollY() const;
    QPair<qsizetype, qsizetype> cardsBetween(double top, double bottom) const;
    void requestThumbnails();
    void setHovered(std::optional<int> card);
    void paintCard(QPainter &painter, const GridCard &card);
    QString elidedName(qsizetype stationIndex);

    QList<Station> m_stations;
    std::optional<QUuid> m_currentStationID;
    QColor m_accent;
    QPointer<L10n> m_l10n;
    StationThumbnailLoader *m_loader;
    QList<CardGroup> m_groups;
    CardGridLayout m_layout;
    QHash<qsizetype, QString> m_elidedNames; // by station index, for m_layout.columnWidth
    std::optional<int> m_hoveredCard;
};
