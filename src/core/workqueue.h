#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include <QObject>

#include "core/receiverlink.h"

// Work that may block (file-system calls, decoding, parsing) done off the user-interface
// thread: jobs run one at a time, in the order added, on one thread of the queue's own,
// started by the first job and kept for the next.
//
// Threading contract. A queue belongs to its owner's thread (the user-interface thread):
// add(), pendingJobs() and the destructor are called there, and every `done` runs there.
// A job runs on the queue's thread with what it captured by value; it never touches its
// owner, which may be gone by then. The destructor never waits: jobs not started are
// dropped, and a running job is left to finish on the thread, which then ends and drops
// the result; so a job stuck on a dead mount holds up neither the window nor the shutdown.
// No exception leaves the thread: a job that throws is logged ("zorvan.work") and its
// result is a default-constructed value. Whether a result is still wanted is the caller's
// rule (a serial compared in `done`).
class WorkQueue
{
public:
    WorkQueue();
    ~WorkQueue();

    // Runs `job()` on the queue's thread, then `done(result)` on the owner's thread. A `kind`
    // other than 0 first drops the jobs of that kind still waiting: only the latest counts,
    // and the `done` of a dropped job never runs.
    template <typename Job, typename Done> void add(Job job, Done done, int kind = 0)
    {
        using Result = std::decay_t<std::invoke_result_t<Job &>>;
        // `this` is used only in the call posted to m_receiver, a member: that call is
        // dropped with the queue.
        enqueue(kind, [this, link = m_link, job = std::move(job), done = std::move(done)] {
            Result result{};
            try {
                result = job();
            } catch (...) {
                logFailure();
            }
            link->post([this, done, result = std::move(result)] {
                --m_pendingJobs;
                done(result);
            });
        });
    }

    // Jobs added whose `done` is still to come; a job dropped by a later one no longer counts.
    int pendingJobs() const { return m_pendingJobs; }

private:
    struct Shared;

    void enqueue(int kind, std::function<void()> run);
    static void serve(const std::shared_ptr<Shared> &shared);
    // Called in a catch block: tells what was caught.
    static void logFailure() noexcept;

    QObject m_receiver;
    std::shared_ptr<ReceiverLink> m_link = ReceiverLink::create(&m_receiver);
    std::shared_ptr<Shared> m_shared;
    bool m_isStarted = false;
    int m_pendingJobs = 0;
};
