#include "CoverMapView.h"

#include "MapControlButton.h"
#include "MapPainting.h"
#include "MapTileSource.h"

#include "l10n/L10n.h"

#include <QGestureEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPinchGesture>
#include <QWheelEvent>

#include <cmath>
#include <numbers>

namespace {

constexpr int kControlInset = 8;
constexpr int kControlSpacing = 4;
constexpr double kWheelLevelsPerNotch = 0.5;
constexpr double kTitleMargin = 12;

const QColor kOutline(255, 255, 255, 38);

double angleDegrees(QPointF vector)
{
    return std::atan2(vector.y(), vector.x()) * 180.0 / std::numbers::pi;
}

} // namespace

CoverMapView::CoverMapView(CoverLocation location, QString tileTemplate, const L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_location(std::move(location))
    , m_pinWorld(WebMercator::worldPoint(m_location.latitude, m_location.longitude))
    , m_tiles(new MapTileSource(std::move(tileTemplate), this))
    , m_attribution(new QLabel(MapTileSource::attribution(), this))
    , m_zoomIn(new MapControlButton(MapControlButton::Glyph::plus, this))
    , m_zoomOut(new MapControlButton(MapControlButton::Glyph::minus, this))
    , m_compass(new MapControlButton(MapControlButton::Glyph::compass, this))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMaximumWidth(maxCardWidth);
    setFixedHeight(cardHeight);
    setCursor(Qt::OpenHandCursor);
    setAttribute(Qt::WA_AcceptTouchEvents);
    grabGesture(Qt::PinchGesture);

    m_attribution->setStyleSheet(QStringLiteral("QLabel { background: rgba(255,255,255,200); color: #333;"
                                                " border-radius: 3px; padding: 1px 4px; font-size: 10px; }"));
    m_attribution->adjustSize();
    m_compass->hide();
    m_tiles->onTileArrived = [this] { redraw(); };
    connect(m_zoomIn, &QAbstractButton::clicked, this, [this] {
        MapCamera camera = m_camera;
        camera.zoomAround(middle(), 1, viewSize());
        setCamera(camera);
    });
    connect(m_zoomOut, &QAbstractButton::clicked, this, [this] {
        MapCamera camera = m_camera;
        camera.zoomAround(middle(), -1, viewSize());
        setCamera(camera);
    });
    connect(m_compass, &QAbstractButton::clicked, this, [this] {
        MapCamera camera = m_camera;
        camera.rotation = 0;
        setCamera(camera);
    });
    retranslate(l10n);
}

void CoverMapView::retranslate(const L10n &l10n)
{
    m_zoomIn->setToolTip(l10n.text(L10n::Key::zoomIn));
    m_zoomIn->setAccessibleName(l10n.text(L10n::Key::zoomIn));
    m_zoomOut->setToolTip(l10n.text(L10n::Key::zoomOut));
    m_zoomOut->setAccessibleName(l10n.text(L10n::Key::zoomOut));
    m_compass->setAccessibleName(l10n.text(L10n::Key::mapNorthA11y));
}

QSize CoverMapView::sizeHint() const
{
    return QSize(maxCardWidth, cardHeight);
}

QSize CoverMapView::minimumSizeHint() const
{
    return QSize(2 * MapControlButton::side + 2 * kControlInset, cardHeight);
}

void CoverMapView::setCamera(const MapCamera &camera)
{
    m_camera = camera;
    m_compass->setHeading(m_camera.rotation);
    m_compass->setVisible(std::abs(m_camera.rotation) > 0.5);
    requestVisibleTiles();
    redraw();
}

void CoverMapView::redraw()
{
    m_canvasCurrent = false;
    update();
}

void CoverMapView::requestVisibleTiles()
{
    if (m_fitted)
        m_tiles->setWanted(visibleTiles(m_camera, viewSize()));
}

void CoverMapView::resizeEvent(QResizeEvent *)
{
    // The location is fitted once, at the first real size; later sizes keep
    // whatever the visitor has made of the map.
    if (!m_fitted && !size().isEmpty()) {
        m_fitted = true;
        setCamera(MapCamera::fitting(m_location.latitude, m_location.longitude, m_location.spanDegrees, viewSize()));
    } else {
        requestVisibleTiles();
    }
    m_canvasCurrent = false;
    placeOverlays();
}

void CoverMapView::placeOverlays()
{
    const int x = width() - kControlInset - MapControlButton::side;
    m_zoomIn->move(x, kControlInset);
    m_zoomOut->move(x, kControlInset + MapControlButton::side + kControlSpacing);
    m_compass->move(x, kControlInset + 2 * (MapControlButton::side + kControlSpacing));
    m_attribution->move(width() - m_attribution->width() - kControlInset,
                        height() - m_attribution->height() - kControlInset / 2);
}

void CoverMapView::renderCanvas()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (viewSize() * ratio).toSize();
    if (m_canvasCurrent && m_canvas.size() == pixels)
        return;
    m_canvasCurrent = true;
    if (m_canvas.size() != pixels)
        m_canvas = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    m_canvas.setDevicePixelRatio(ratio);
    QPainter painter(&m_canvas);
    paintMapGround(painter, m_camera, viewSize());
    paintMapTiles(painter, m_camera, viewSize(), *m_tiles);
    paintMapPin(painter, m_camera.viewPoint(m_pinWorld, viewSize()), m_location.label, width() - 2 * kTitleMargin);
}

void CoverMapView::paintEvent(QPaintEvent *)
{
    if (size().isEmpty())
        return;
    renderCanvas();
    // The map is drawn off-screen, only when it changed, and laid on as a
    // brush, so the rounded corners are smooth (clipping to a path would
    // leave them jagged) and the page scrolling over it costs a copy.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QBrush brush(m_canvas);
    brush.setTransform(QTransform::fromScale(1 / m_canvas.devicePixelRatio(), 1 / m_canvas.devicePixelRatio()));
    const QRectF card = QRectF(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawRoundedRect(card, cornerRadius, cornerRadius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kOutline, 1));
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
}

void CoverMapView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_drag = event->modifiers().testFlag(Qt::ControlModifier) ? Drag::rotate : Drag::pan;
    m_lastPointer = event->position();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void CoverMapView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == Drag::none)
        return QWidget::mouseMoveEvent(event);
    const QPointF position = event->position();
    MapCamera camera = m_camera;
    if (m_drag == Drag::pan)
        camera.pan(position - m_lastPointer, viewSize());
    else
        camera.rotateBy(angleDegrees(position - middle()) - angleDegrees(m_lastPointer - middle()));
    m_lastPointer = position;
    setCamera(camera);
    event->accept();
}

void CoverMapView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::none)
        return QWidget::mouseReleaseEvent(event);
    m_drag = Drag::none;
    setCursor(Qt::OpenHandCursor);
    event->accept();
}

void CoverMapView::mouseDoubleClickEvent(QMouseEvent *event)
{
    MapCamera camera = m_camera;
    camera.zoomAround(event->position(), 1, viewSize());
    setCamera(camera);
    event->accept();
}

void CoverMapView::wheelEvent(QWheelEvent *event)
{
    // The wheel zooms the map and never scrolls the page behind it.
    event->accept();
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    MapCamera camera = m_camera;
    camera.zoomAround(event->position(), notches * kWheelLevelsPerNotch, viewSize());
    setCamera(camera);
}

bool CoverMapView::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        handleNativeGesture(static_cast<QNativeGestureEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::Gesture) {
        handleGesture(static_cast<QGestureEvent *>(event));
        return true;
    }
    return QWidget::event(event);
}

void CoverMapView::handleNativeGesture(QNativeGestureEvent *event)
{
    MapCamera camera = m_camera;
    if (event->gestureType() == Qt::ZoomNativeGesture)
        camera.zoomAround(event->position(), std::log2(std::max(0.05, 1.0 + event->value())), viewSize());
    else if (event->gestureType() == Qt::RotateNativeGesture)
        camera.rotateBy(event->value());
    else
        return;
    setCamera(camera);
    event->accept();
}

void CoverMapView::handleGesture(QGestureEvent *event)
{
    auto *pinch = static_cast<QPinchGesture *>(event->gesture(Qt::PinchGesture));
    if (!pinch)
        return;
    MapCamera camera = m_camera;
    const QPointF centre = mapFromGlobal(pinch->centerPoint());
    if (pinch->changeFlags().testFlag(QPinchGesture::ScaleFactorChanged) && pinch->scaleFactor() > 0)
        camera.zoomAround(centre, std::log2(pinch->scaleFactor()), viewSize());
    if (pinch->changeFlags().testFlag(QPinchGesture::RotationAngleChanged))
        camera.rotateBy(pinch->rotationAngle() - pinch->lastRotationAngle());
    setCamera(camera);
    event->accept(pinch);
}
