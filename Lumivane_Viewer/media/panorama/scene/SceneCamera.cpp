#include "SceneCamera.h"

#include <algorithm>

void SceneCamera::setFieldOfView(double degrees)
{
    m_fieldOfView = degrees;
    m_animationDuration = 0.0;
    m_animationOffset = 0.0;
}

void SceneCamera::animateFieldOfView(double degrees, double duration, double now)
{
    const double shown = presentedFieldOfView(now);
    m_fieldOfView = degrees;
    m_animationStart = now;
    m_animationDuration = duration;
    m_animationOffset = shown - degrees;
}

double SceneCamera::presentedFieldOfView(double now) const
{
    if (!isAnimating(now))
        return m_fieldOfView;
    const double progress = std::clamp((now - m_animationStart) / m_animationDuration, 0.0, 1.0);
    return m_fieldOfView + m_animationOffset * (1.0 - progress);
}

bool SceneCamera::isAnimating(double now) const
{
    return m_animationDuration > 0.0 && now < m_animationStart + m_animationDuration;
}
