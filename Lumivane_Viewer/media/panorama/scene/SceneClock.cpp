#include "SceneClock.h"

SceneClock::SceneClock()
{
    m_timer.start();
}

double SceneClock::now() const
{
    if (m_manual)
        return m_manualTime;
    return static_cast<double>(m_timer.nsecsElapsed()) * 1e-9;
}

void SceneClock::setTime(double seconds)
{
    m_manual = true;
    m_manualTime = seconds;
}

void SceneClock::advance(double seconds)
{
    setTime(now() + seconds);
}
