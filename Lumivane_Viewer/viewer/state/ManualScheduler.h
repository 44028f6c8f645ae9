#pragma once

#include "viewer/state/ViewerScheduler.h"

#include <QPointer>

#include <vector>

/// A scheduler whose clock moves only when told to: advance() runs the tasks
/// that fall due, in time order, skipping those whose context has gone. Each
/// wait is the one a real timer keeps (timerDelay). For tests and benchmarks
/// that must not wait for real time.
class ManualScheduler final : public ViewerScheduler
{
public:
    void after(double seconds, QObject *context, std::function<void()> task) override;

    /// Moves the clock forward, running every task that falls due on the way,
    /// also those scheduled by a task that runs.
    void advance(double seconds);
    /// Seconds advanced since creation.
    double now() const { return m_now; }
    /// Tasks still waiting, those of destroyed contexts included.
    int pendingCount() const { return int(m_tasks.size()); }

private:
    struct Task
    {
        double due = 0;
        quint64 order = 0; // tasks due together run in the order they came
        QPointer<QObject> context;
        std::function<void()> run;
    };

    double m_now = 0;
    quint64 m_nextOrder = 0;
    std::vector<Task> m_tasks;
};
