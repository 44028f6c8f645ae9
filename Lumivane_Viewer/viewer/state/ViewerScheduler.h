#pragma once

#include <functional>

class QObject;

/// Runs a task once on the main thread after a delay. Every delayed step of
/// the viewer (splash, station arrival, kiosk) goes through one of these, so
/// tests can drive time by hand.
class ViewerScheduler
{
public:
    virtual ~ViewerScheduler() = default;

    /// Runs task after the given seconds, unless context has been destroyed
    /// by then; context must not be null.
    virtual void after(double seconds, QObject *context, std::function<void()> task) = 0;
};
