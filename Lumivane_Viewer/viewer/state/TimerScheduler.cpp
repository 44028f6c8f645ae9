#include "viewer/state/TimerScheduler.h"

#include "viewer/state/TimerDelay.h"

#include <QTimer>

void TimerScheduler::after(double seconds, QObject *context, std::function<void()> task)
{
    Q_ASSERT(context);
    QTimer::singleShot(timerDelay(seconds), context, std::move(task));
}
