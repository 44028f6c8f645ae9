#pragma once

#include <QEasingCurve>

/// The timing curves the viewer's animations name.
enum class AnimationCurve { linear, easeIn, easeOut, easeInOut, platformDefault };

/// Duration of a platformDefault animation, where a caller needs one.
constexpr double platformDefaultSeconds = 0.35;

/// One animation: a curve and a duration. A duration of 0 changes at once.
struct ViewerAnimation
{
    AnimationCurve curve = AnimationCurve::linear;
    double seconds = 0;

    /// No animation: the change happens at once.
    static ViewerAnimation none();
};

/// The Qt easing curve of a curve; the one place that maps them. The eased
/// curves are the cubic Béziers (0.42, 0, 1, 1), (0, 0, 0.58, 1) and
/// (0.42, 0, 0.58, 1); platformDefault eases in and out.
QEasingCurve easingCurve(AnimationCurve curve);
