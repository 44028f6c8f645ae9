#pragma once

#include <QEasingCurve>

/// The timing curves the viewer's state changes are animated with.
enum class AnimationCurve { linear, easeIn, easeOut, easeInOut, platformDefault };

/// One curve with one duration: how a view animates a change of state.
struct ViewerAnimation
{
    AnimationCurve curve = AnimationCurve::linear;
    double seconds = 0;
    /// A change that is shown at once.
    static ViewerAnimation none();
};

/// The Qt easing of a curve; the one place that maps the curves to Qt.
QEasingCurve easingCurve(AnimationCurve);
