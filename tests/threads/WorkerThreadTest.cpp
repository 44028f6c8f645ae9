#include "threads/WorkerThread.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// Records where it dies, so that a test can tell that the thread deleted it.
class Worker final : public QObject
{
public:
    struct Trace
    {
        std::vector<int> done;
        std::atomic<QThread *> diedOn = nullptr;
        std::atomic<bool> died = false;
    };

    explicit Worker(Trace &trace) : m_trace(trace) {}
    ~Worker() override
    {
        m_trace.diedOn = QThread::currentThread();
        m_trace.died = true;
    }

    void record(int step) { m_trace.done.push_back(step); }

private:
    Trace &m_trace;
};

TEST(WorkerThread, destroyedWithWorkQueuedRunsItInOrderThenEndsTheThreadAndDeletesTheWorker)
{
    Worker::Trace trace;
    std::atomic<QThread *> ranOn = nullptr;
    {
        WorkerThread<Worker> thread(QStringLiteral("test-worker"), std::make_unique<Worker>(trace));
        thread.post([&ranOn](Worker &) { ranOn = QThread::currentThread(); });
        for (int step = 0; step < 200; ++step) {
            thread.post([step](Worker &worker) {
                QThread::usleep(50);
                worker.record(step);
            });
        }
    }
    ASSERT_TRUE(trace.died);
    ASSERT_EQ(trace.done.size(), 200u);
    for (int step = 0; step < 200; ++step)
        EXPECT_EQ(trace.done[std::size_t(step)], step);
    EXPECT_NE(ranOn.load(), QThread::currentThread());
    EXPECT_EQ(trace.diedOn.load(), ranOn.load());
}

TEST(WorkerThread, aStuckWorkerIsAbandonedAfterTheWaitLimitAndDeletedWhenItEnds)
{
    Worker::Trace trace;
    QSemaphore release;
    QElapsedTimer timer;
    {
        WorkerThread<Worker> thread(QStringLiteral("stuck-worker"), std::make_unique<Worker>(trace));
        thread.setWaitLimitMs(100);
        thread.post([&release](Worker &) { release.acquire(); });
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(trace.died);
    release.release();
    EXPECT_TRUE(QTest::qWaitFor([&trace] { return trace.died.load(); }, 5000));
}

} // namespace
