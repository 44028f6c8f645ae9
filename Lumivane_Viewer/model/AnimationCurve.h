#pragma once

#include <QEasingCurve>

/// The timing curves the viewer's state changes are animated with.
enum class AnimationCurve { linear, easeIn, easeOut, easeInOut, platformDefault };

/// Duration of a platformDefault animation, where a caller needs one.
constexpr double platformDefaultSeconds = 0.35;

/// One curve with one duration: how a view animates a change of state.
struct ViewerAnimation
{
    AnimationCurve curve = AnimationCurve::linear;
    double seconds = 0;
    /// A change that is shown at once.
    static ViewerAnimation none();
};

/// The Qt easing of a curve; the one place that maps the curves to Qt. The
/// eased curves are the cubic Béziers (0.42, 0, 1, 1), (0, 0, 0.58, 1) and
/// (0.42, 0, 0.58, 1); platformDefault eases in and out.
QEasingCurve easingCurve(AnimationCurve);
