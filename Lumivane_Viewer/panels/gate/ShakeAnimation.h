#pragma once

#include "model/AnimationCurve.h"

#include <QEasingCurve>

#include <functional>
#include <optional>

/// Horizontal offset, in logical pixels, of a column shaken by a failure
/// count: 6·sin(4π·count), two full swings (first to the right) between two
/// whole counts, at rest on each whole count.
double shakeOffset(double failureCount);

/// The failure count as the gate's shake animates it: from wherever it is
/// towards each new count, eased in and out over the default animation
/// length. Time comes from a clock in seconds, injectable so that the offset
/// curve can be sampled without waiting.
class ShakeAnimation
{
public:
    using Clock = std::function<double()>;

    /// Length of one shake, the default animation of the viewer.
    static constexpr double seconds = platformDefaultSeconds;

    /// A monotonic clock in seconds.
    static Clock steadyClock();

    explicit ShakeAnimation(Clock clock = steadyClock());

    /// Starts animating from the present value to `count`.
    void animateTo(int count);
    /// The animated count now.
    double value() const;
    /// The eased fraction of the running animation: 0 at its start, 1 once it ended.
    double progress() const;
    bool isRunning() const;
    double offset() const { return shakeOffset(value()); }

private:
    Clock m_clock;
    QEasingCurve m_curve;
    double m_from = 0;
    int m_to = 0;
    std::optional<double> m_startTime; // none until the first shake
};
