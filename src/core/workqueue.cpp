#include "core/workqueue.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWork, "zorvan.work", QtWarningMsg)

struct WorkQueue::Shared
{
    struct Task
    {
        int kind = 0;
        std::function<void()> run;
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Task> tasks;
    bool isClosed = false;
};

WorkQueue::WorkQueue() : m_shared(std::make_shared<Shared>()) {}

WorkQueue::~WorkQueue()
{
    m_link->cut();
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->isClosed = true;
        m_shared->tasks.clear();
    }
    m_shared->wake.notify_one();
}

void WorkQueue::enqueue(int kind, std::function<void()> run)
{
    {
        const std::lock_guard<std::mutex> lock(m_shared->mutex);
        if (kind != 0) {
            m_pendingJobs -= int(std::erase_if(
                m_shared->tasks, [kind](const Shared::Task &task) { return task.kind == kind; }));
        }
        m_shared->tasks.push_back({kind, std::move(run)});
    }
    ++m_pendingJobs;
    m_shared->wake.notify_one();
    if (m_isStarted)
        return;
    // A thread that cannot be made now is tried again with the next job; the jobs wait.
    try {
        std::thread(serve, m_shared).detach();
        m_isStarted = true;
    } catch (const std::system_error &error) {
        qCWarning(lcWork, "cannot start a worker thread: %s", error.what());
    }
}

void WorkQueue::serve(const std::shared_ptr<Shared> &shared)
{
    for (;;) {
        std::function<void()> run;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->wake.wait(lock,
                              [&shared] { return shared->isClosed || !shared->tasks.empty(); });
            if (shared->isClosed)
                return;
            run = std::move(shared->tasks.front().run);
            shared->tasks.pop_front();
        }
        try {
            run();
        } catch (...) {
            logFailure();
        }
    }
}

void WorkQueue::logFailure() noexcept
{
    const char *what = "an exception of unknown type";
    try {
        throw;
    } catch (const std::exception &error) {
        what = error.what();
    } catch (...) {
    }
    // Out of memory even the warning may fail; the job's default result stands all the same.
    try {
        qCWarning(lcWork, "a background job failed: %s", what);
    } catch (...) {
    }
}
