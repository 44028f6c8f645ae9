#include "viewer/state/ManualScheduler.h"

#include "viewer/state/TimerDelay.h"

#include <algorithm>

void ManualScheduler::after(double seconds, QObject *context, std::function<void()> task)
{
    Q_ASSERT(context);
    // The same wait as the running application's timers would keep.
    const double due = m_now + double(timerDelay(seconds).count()) / 1000;
    m_tasks.push_back({due, m_nextOrder++, context, std::move(task)});
}

void ManualScheduler::advance(double seconds)
{
    const double end = m_now + std::max(seconds, 0.0);
    // Small tolerance so that 0.1 + 0.08 reaches a task due at 0.18.
    constexpr double epsilon = 1e-9;
    for (;;) {
        const auto next = std::min_element(m_tasks.begin(), m_tasks.end(), [](const Task &a, const Task &b) {
            return a.due < b.due || (a.due == b.due && a.order < b.order);
        });
        if (next == m_tasks.end() || next->due > end + epsilon)
            break;
        Task task = std::move(*next);
        m_tasks.erase(next);
        m_now = std::max(m_now, task.due);
        if (task.context)
            task.run();
    }
    m_now = end;
}
