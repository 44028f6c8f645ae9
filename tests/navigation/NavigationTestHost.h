#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>

// A dark window that stands in for the viewer in the widget tests: it shows
// one view over a near-black background at the place a test gives it.
class NavigationTestHost final : public QWidget
{
public:
    explicit NavigationTestHost(QSize size = QSize(1280, 800))
    {
        resize(size);
    }

    /// The colour a pixel of the shown window has, in the window's logical
    /// coordinates.
    QColor pixel(QPoint position)
    {
        const QImage image = grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(QPoint(int(position.x() * ratio), int(position.y() * ratio)));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(24, 26, 32));
    }
};
