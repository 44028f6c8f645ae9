#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

class QOpenGLWidget;

// Frame timing shared by the benchmarks of views over the panorama.
namespace FrameTiming {

/// Runs the event loop until `done` holds or the time is up. Unlike QTest's
/// waits it never sleeps between events, which would show up as frame gaps.
template<typename Predicate>
bool waitUntil(Predicate done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(2);
    if (!done())
        loop.exec();
    return done();
}

/// Milliseconds for `frames` frames of a shown view: each asks for a repaint
/// and waits until the frame is on the window. One frame settles first.
double timeFrames(QOpenGLWidget &view, int frames);

} // namespace FrameTiming
