#pragma once

#include "viewer/state/ViewerScheduler.h"

/// The scheduler of the running application: single-shot timers on the
/// main thread's event loop, bound to their context.
class TimerScheduler final : public ViewerScheduler
{
public:
    void after(double seconds, QObject *context, std::function<void()> task) override;
};
