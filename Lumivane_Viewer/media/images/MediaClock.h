#pragma once

#include <QElapsedTimer>

/// The time base the media engines animate against (the slideshow's motion
/// and transitions, the panorama scene's actions): seconds from a steady
/// clock, or a time that a test sets and steps by hand. Knows nothing of
/// frames or of what is drawn.
class MediaClock final
{
public:
    MediaClock();

    double now() const;

    /// Freezes the clock at the given time; from then on only setTime and
    /// advance move it.
    void setTime(double seconds);
    void advance(double seconds);

private:
    QElapsedTimer m_timer;
    bool m_manual = false;
    double m_manualTime = 0.0;
};
