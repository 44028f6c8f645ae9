#include "AnimationCurve.h"

#include <QPointF>

namespace {

QEasingCurve cubicBezier(QPointF first, QPointF second)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(first, second, QPointF(1, 1));
    return curve;
}

} // namespace

ViewerAnimation ViewerAnimation::none()
{
    return {AnimationCurve::linear, 0};
}

QEasingCurve easingCurve(AnimationCurve curve)
{
    switch (curve) {
    case AnimationCurve::linear:
        return QEasingCurve(QEasingCurve::Linear);
    case AnimationCurve::easeIn:
        return cubicBezier({0.42, 0}, {1, 1});
    case AnimationCurve::easeOut:
        return cubicBezier({0, 0}, {0.58, 1});
    case AnimationCurve::easeInOut:
    case AnimationCurve::platformDefault:
        return cubicBezier({0.42, 0}, {0.58, 1});
    }
    return QEasingCurve(QEasingCurve::Linear);
}
