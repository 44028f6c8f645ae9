#pragma once

#include "CoverRules.h"
#include "MapCamera.h"

#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

class L10n;
class MapControlButton;
class MapTileSource;
class QGestureEvent;
class QLabel;
class QNativeGestureEvent;

/// The cover's location map card: a raster tile map with one pin and its
/// title, which the visitor can drag, zoom (wheel, pinch, double-click, the
/// buttons) and turn (two-finger rotation, or a drag with Ctrl held; the
/// compass turns it back to north). It is fitted to its location once, when
/// it first gets a size, and then keeps the visitor's view through every
/// rebuild and resize. Without tiles (offline, a failing server) it draws a
/// neutral ground with a graticule under the same pin; nothing is reported.
class CoverMapView final : public QWidget
{
public:
    static constexpr int cardHeight = 180;
    static constexpr int maxCardWidth = 420;
    static constexpr double cornerRadius = 12;

    /// `tileTemplate`: a tile URL with "{z}", "{x}" and "{y}" placeholders.
    CoverMapView(CoverLocation location, QString tileTemplate, const L10n &l10n, QWidget *parent = nullptr);

    const CoverLocation &location() const { return m_location; }
    const MapCamera &camera() const { return m_camera; }
    /// Re-reads the controls' help texts, after a change of language.
    void retranslate(const L10n &l10n);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    enum class Drag { none, pan, rotate };

    void setCamera(const MapCamera &camera);
    /// Marks the off-screen map out of date and asks for a repaint.
    void redraw();
    void requestVisibleTiles();
    void placeOverlays();
    void renderCanvas();
    void handleNativeGesture(QNativeGestureEvent *event);
    void handleGesture(QGestureEvent *event);
    QSizeF viewSize() const { return QSizeF(size()); }
    QPointF middle() const { return QPointF(width() / 2.0, height() / 2.0); }

    CoverLocation m_location;
    QPointF m_pinWorld;
    MapCamera m_camera;
    bool m_fitted = false;
    MapTileSource *m_tiles;
    QLabel *m_attribution;
    MapControlButton *m_zoomIn;
    MapControlButton *m_zoomOut;
    MapControlButton *m_compass;
    QImage m_canvas;
    bool m_canvasCurrent = false;
    Drag m_drag = Drag::none;
    QPointF m_lastPointer;
};
