#include "core/workqueue.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A job held on the worker until the test opens the gate. It waits 10 s at most, so a
// queue that wrongly waits for it fails the test instead of hanging it.
struct Gate
{
    void pass()
    {
        std::unique_lock<std::mutex> lock(mutex);
        isEntered = true;
        hasTimedOut = !opened.wait_for(lock, std::chrono::seconds(10), [this] { return isOpen; });
    }
    void open()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        isOpen = true;
        opened.notify_all();
    }
    bool entered()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return isEntered;
    }
    bool timedOut()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return hasTimedOut;
    }

    std::mutex mutex;
    std::condition_variable opened;
    bool isEntered = false;
    bool isOpen = false;
    bool hasTimedOut = false;
};

// Delivers posted results until `done` holds, for 5 s at most.
template <typename Condition> bool deliverUntil(Condition done)
{
    for (const QDeadlineTimer deadline(5000); !done() && !deadline.hasExpired();) {
        QCoreApplication::sendPostedEvents();
        QThread::yieldCurrentThread();
    }
    return done();
}

TEST(WorkQueue, RunsJobsInOrderReplacesWaitingOnesAndSurvivesThrows)
{
    WorkQueue queue;
    auto gate = std::make_shared<Gate>();
    QStringList done;
    const auto record = [&done](const QString &result) { done.append(result); };
    queue.add(
        [gate] {
            gate->pass();
            return QStringLiteral("held");
        },
        record);
    ASSERT_TRUE(deliverUntil([&] { return gate->entered(); }));
    queue.add([] { return QStringLiteral("lookup 1"); }, record, 1);
    queue.add([] { return QStringLiteral("tags"); }, record);
    queue.add([]() -> QString { throw std::bad_alloc(); }, record);
    queue.add([] { return QStringLiteral("lookup 2"); }, record, 1);
    EXPECT_EQ(queue.pendingJobs(), 4) << "the first lookup was dropped for the second";
    gate->open();
    EXPECT_TRUE(deliverUntil([&] { return queue.pendingJobs() == 0; }));
    EXPECT_EQ(done, QStringList({"held", "tags", "", "lookup 2"}))
        << "a job that throws gives an empty result";
}

TEST(WorkQueue, ItsDestructionWaitsForNoJobAndDropsTheirResults)
{
    auto gate = std::make_shared<Gate>();
    const std::weak_ptr<Gate> heldByJob = gate;
    int delivered = 0;
    const auto laterJobRan = std::make_shared<std::atomic<bool>>(false);
    {
        WorkQueue queue;
        queue.add(
            [gate] {
                gate->pass();
                return 1;
            },
            [&delivered](int) { ++delivered; });
        queue.add([laterJobRan] { return laterJobRan->exchange(true); },
                  [&delivered](bool) { ++delivered; });
        ASSERT_TRUE(deliverUntil([&] { return gate->entered(); }));
    }
    EXPECT_FALSE(gate->timedOut()) << "the destructor returned while the job was held";
    gate->open();
    gate.reset();
    EXPECT_TRUE(deliverUntil([&] { return heldByJob.expired(); })) << "the job ended";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(*laterJobRan) << "a job not started when the queue went is dropped";
}

} // namespace
