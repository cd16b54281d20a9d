#include "core/workqueue.h"

#include <atomic>
#include <memory>
#include <new>

#include <gtest/gtest.h>

#include "fakes/gate.h"

namespace {

TEST(WorkQueue, RunsJobsInOrderReplacesWaitingOnesAndSurvivesThrows)
{
    WorkQueue queue;
    auto gate = std::make_shared<Gate>();
    QStringList done;
    const auto record = [&done](const QString &result) { done.append(result); };
    queue.add([gate] { return gate->pass(), QStringLiteral("held"); }, record);
    ASSERT_TRUE(deliverUntil([&] { return gate->passer() != nullptr; }));
    queue.add([] { return QStringLiteral("lookup 1"); }, record, 1);
    queue.add([] { return QStringLiteral("tags"); }, record);
    queue.add([]() -> QString { throw std::bad_alloc(); }, record);
    queue.add([] { return QStringLiteral("lookup 2"); }, record, 1);
    gate->open();
    EXPECT_TRUE(deliverUntil([&] { return queue.pendingJobs() == 0; }));
    EXPECT_EQ(done, QStringList({"held", "tags", "", "lookup 2"}))
        << "the first lookup was dropped for the second; a job that throws gives an empty result";
}

TEST(WorkQueue, ItsDestructionWaitsForNoJobAndDropsTheirResults)
{
    auto gate = std::make_shared<Gate>();
    const std::weak_ptr<Gate> heldByJob = gate;
    int delivered = 0;
    const auto laterJobRan = std::make_shared<std::atomic<bool>>(false);
    {
        WorkQueue queue;
        queue.add([gate] { return gate->pass(), 1; }, [&delivered](int) { ++delivered; });
        queue.add([laterJobRan] { return laterJobRan->exchange(true); },
                  [&delivered](bool) { ++delivered; });
        ASSERT_TRUE(deliverUntil([&] { return gate->passer() != nullptr; }));
    }
    EXPECT_FALSE(gate->hasTimedOut()) << "the destructor returned while the job was held";
    gate->open();
    gate.reset();
    EXPECT_TRUE(deliverUntil([&] { return heldByJob.expired(); })) << "the job ended";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(*laterJobRan) << "a job not started when the queue went is dropped";
}

} // namespace
