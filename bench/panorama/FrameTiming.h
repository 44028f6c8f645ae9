#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>

class QOpenGLWidget;

// Frame timing shared by the benchmarks of the views.
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

/// Repaints a widget from a precise timer while it lives and keeps the
/// longest time between two repaints, counted from its construction: a
/// frame that cannot start on time because the GUI thread is busy shows as
/// a long gap.
class RepaintGapMeter
{
public:
    RepaintGapMeter(QWidget &widget, int intervalMs)
    {
        m_clock.start();
        m_frames.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_frames, &QTimer::timeout, &widget, [this, &widget] {
            widget.repaint();
            const qint64 now = m_clock.nsecsElapsed();
            m_longestNs = std::max(m_longestNs, now - m_lastNs);
            m_lastNs = now;
        });
        m_frames.start(intervalMs);
    }

    void stop() { m_frames.stop(); }
    double longestMs() const { return double(m_longestNs) / 1e6; }

private:
    QElapsedTimer m_clock;
    QTimer m_frames;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
};

} // namespace FrameTiming
