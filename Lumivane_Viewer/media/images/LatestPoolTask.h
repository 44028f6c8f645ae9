#pragma once

#include "LumivaneImageCache.h"

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/qtconcurrenttask.h>

#include <functional>

/// Work on the image cache's pool for an owner that wants only the result of
/// the work it started last: that result reaches `done` on the owner's
/// thread, while the result of an earlier start, or of one cancelled, is
/// dropped, as is any once the owner has gone. A member of its owner. GUI thread.
template<typename Result>
class LatestPoolTask final
{
public:
    explicit LatestPoolTask(QObject &owner)
        : m_owner(owner)
    {
    }
    LatestPoolTask(const LatestPoolTask &) = delete;
    LatestPoolTask &operator=(const LatestPoolTask &) = delete;

    template<typename Work>
    void start(Work work, std::function<void(const Result &)> done)
    {
        const quint64 generation = ++m_generation;
        m_running = true;
        auto *watcher = new QFutureWatcher<Result>(&m_owner);
        QObject::connect(watcher, &QFutureWatcherBase::finished, &m_owner,
                         [this, watcher, generation, done = std::move(done)] {
                             watcher->deleteLater();
                             if (generation != m_generation)
                                 return;
                             m_running = false;
                             done(watcher->result());
                         });
        watcher->setFuture(QtConcurrent::task(std::move(work))
                               .onThreadPool(*LumivaneImageCache::pool())
                               .withPriority(LumivaneImageCache::userInitiatedPriority)
                               .spawn());
    }

    /// Drops the result of the work under way.
    void cancel()
    {
        ++m_generation;
        m_running = false;
    }

    /// Whether the work started last is still under way.
    bool isRunning() const { return m_running; }

private:
    QObject &m_owner;
    quint64 m_generation = 0;
    bool m_running = false;
};
