#include "FrameTiming.h"

#include <QOpenGLWidget>

namespace FrameTiming {

double timeFrames(QOpenGLWidget &view, int frames)
{
    QEventLoop loop;
    auto connection = QObject::connect(&view, &QOpenGLWidget::frameSwapped, &loop, &QEventLoop::quit);
    view.update();
    loop.exec(); // settle after showing
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < frames; ++i) {
        view.update();
        loop.exec();
    }
    QObject::disconnect(connection);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace FrameTiming
