#include "viewer/state/TimerScheduler.h"

#include <QTimer>

#include <chrono>
#include <cmath>

void TimerScheduler::after(double seconds, QObject *context, std::function<void()> task)
{
    Q_ASSERT(context);
    const auto delay = std::chrono::milliseconds(std::lround(std::max(seconds, 0.0) * 1000));
    QTimer::singleShot(delay, context, std::move(task));
}
