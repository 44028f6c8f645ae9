#include "ShakeAnimation.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <numbers>

double shakeOffset(double failureCount)
{
    // Whole counts land exactly at rest: sin(4πn) in floating point does not.
    const double withinShake = failureCount - std::floor(failureCount);
    return 6.0 * std::sin(withinShake * std::numbers::pi * 4.0);
}

ShakeAnimation::Clock ShakeAnimation::steadyClock()
{
    return [] {
        static const QElapsedTimer timer = [] {
            QElapsedTimer started;
            started.start();
            return started;
        }();
        return double(timer.nsecsElapsed()) / 1e9;
    };
}

ShakeAnimation::ShakeAnimation(Clock clock)
    : m_clock(std::move(clock))
    , m_curve(easingCurve(AnimationCurve::platformDefault))
{
}

void ShakeAnimation::animateTo(int count)
{
    m_from = value();
    m_to = count;
    m_startTime = m_clock();
}

double ShakeAnimation::progress() const
{
    if (!isRunning())
        return 1.0;
    const double linear = std::clamp((m_clock() - *m_startTime) / seconds, 0.0, 1.0);
    return m_curve.valueForProgress(linear);
}

double ShakeAnimation::value() const
{
    // Lands exactly on the whole count, where the column is at rest.
    if (!isRunning())
        return m_to;
    return m_from + (m_to - m_from) * progress();
}

bool ShakeAnimation::isRunning() const
{
    return m_startTime && m_clock() - *m_startTime < seconds;
}
