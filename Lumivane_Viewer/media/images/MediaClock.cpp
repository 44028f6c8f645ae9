#include "MediaClock.h"

MediaClock::MediaClock()
{
    m_timer.start();
}

double MediaClock::now() const
{
    if (m_manual)
        return m_manualTime;
    return static_cast<double>(m_timer.nsecsElapsed()) * 1e-9;
}

void MediaClock::setTime(double seconds)
{
    m_manual = true;
    m_manualTime = seconds;
}

void MediaClock::advance(double seconds)
{
    setTime(now() + seconds);
}
