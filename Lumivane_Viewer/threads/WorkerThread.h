#pragma once

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>

#include <memory>
#include <type_traits>
#include <utility>

/// Owns one thread and the worker object that lives on it. The worker is
/// handed over made, moves to the thread with its QObject children, and is
/// deleted there when the thread ends. Work reaches it through post(), in
/// order. Destroying the owner lets the work already posted run, then ends
/// the thread and waits for it, so nothing of the worker runs afterwards.
/// Knows nothing of what the worker does. Owned and destroyed on one thread;
/// post() may be called from any thread while the owner lives.
template <typename Worker>
class WorkerThread final
{
public:
    WorkerThread(const QString &name, std::unique_ptr<Worker> worker)
        : m_thread(std::make_unique<QThread>())
        , m_worker(worker.get())
    {
        static_assert(std::is_base_of_v<QObject, Worker>, "a worker lives on its thread as a QObject");
        m_thread->setObjectName(name);
        m_worker->moveToThread(m_thread.get());
        // From here the thread owns the worker: deleted on it once its loop has ended.
        QObject::connect(m_thread.get(), &QThread::finished, worker.release(), &QObject::deleteLater);
        m_thread->start();
    }

    ~WorkerThread()
    {
        // Queued behind the work already posted, so that all of it runs first.
        QMetaObject::invokeMethod(m_worker, [] { QThread::currentThread()->quit(); });
        const QDeadlineTimer limit = m_waitLimitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                       : QDeadlineTimer(m_waitLimitMs);
        if (m_thread->wait(limit))
            return;
        // A worker stuck in a system call cannot be stopped, and a running
        // thread cannot be destroyed: it is left to end on its own, and then
        // takes its QThread along.
        QThread *abandoned = m_thread.release();
        QObject::connect(abandoned, &QThread::finished, abandoned, &QObject::deleteLater);
        if (abandoned->isFinished())
            abandoned->deleteLater();
    }

    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    /// Runs call(worker) on the thread after everything posted before it.
    template <typename Call>
    void post(Call call)
    {
        QMetaObject::invokeMethod(m_worker, [worker = m_worker, call = std::move(call)]() mutable { call(*worker); });
    }

    /// The worker, for what it makes safe to read from other threads.
    const Worker &worker() const { return *m_worker; }

    /// How long destruction waits for the thread before abandoning it; by
    /// default (a negative limit) as long as it takes.
    void setWaitLimitMs(int milliseconds) { m_waitLimitMs = milliseconds; }

private:
    std::unique_ptr<QThread> m_thread;
    Worker *m_worker; // lives on m_thread, which deletes it
    int m_waitLimitMs = -1;
};
