#include "LumivaneMark.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

// A resource file in a static library is linked only when something names
// it; outside any namespace, as Q_INIT_RESOURCE requires.
static void loadCoverResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(cover);
        return true;
    }();
    Q_UNUSED(loaded);
}

LumivaneMark::LumivaneMark(double height, double opacity, QWidget *parent)
    : QWidget(parent)
    , m_height(height)
    , m_opacity(opacity)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
}

QPixmap LumivaneMark::pixmap(double side, qreal devicePixelRatio)
{
    const int pixels = int(std::ceil(side * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    loadCoverResources();
    // Parsed again for each rendering: a few hundred bytes, rendered only
    // when a mark first shows or moves to a screen of another pixel ratio.
    QSvgRenderer renderer(QStringLiteral(":/cover/LumivaneMark.svg"));
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QSize LumivaneMark::sizeHint() const
{
    const int side = int(std::ceil(m_height));
    return QSize(side, side);
}

void LumivaneMark::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_rendered.isNull() || m_rendered.devicePixelRatio() != ratio)
        m_rendered = pixmap(m_height, ratio);
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    const QSizeF shown = QSizeF(m_rendered.size()) / ratio;
    painter.drawPixmap(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), m_rendered);
}
