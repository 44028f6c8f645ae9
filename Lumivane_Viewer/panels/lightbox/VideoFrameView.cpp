#include "VideoFrameView.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

// The frame's picture turned and mirrored as the file asks.
QImage upright(const QVideoFrame &frame)
{
    QImage image = frame.toImage();
    if (image.isNull())
        return image;
    QTransform turn;
    turn.rotate(int(frame.rotationAngle()));
    if (!turn.isIdentity())
        image = image.transformed(turn);
    if (frame.mirrored())
        image = image.mirrored(true, false);
    return image;
}

} // namespace

VideoFrameView::VideoFrameView(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Frames can arrive faster than the screen paints; only a painted one is converted.
void VideoFrameView::setFrame(const QVideoFrame &frame)
{
    m_frame = frame;
    m_converted = false;
    update();
}

void VideoFrameView::clear()
{
    m_frame = QVideoFrame();
    m_image = QImage();
    m_converted = true;
    update();
}

void VideoFrameView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!m_converted) {
        m_image = upright(m_frame);
        m_converted = true;
    }
    if (m_image.isNull())
        return;
    const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}
