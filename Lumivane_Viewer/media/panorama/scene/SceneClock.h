#pragma once

#include <QElapsedTimer>

/// The time base of a scene: seconds from a steady clock, or a time that a
/// test sets and steps by hand. Knows nothing of frames or of the renderer.
class SceneClock final
{
public:
    SceneClock();

    double now() const;

    /// Freezes the clock at the given time; from then on only setTime and
    /// advance move it.
    void setTime(double seconds);
    void advance(double seconds);
    bool isManual() const { return m_manual; }

private:
    QElapsedTimer m_timer;
    bool m_manual = false;
    double m_manualTime = 0.0;
};
