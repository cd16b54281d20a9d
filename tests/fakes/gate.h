#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Holds a job on a worker thread, as a stat on a mount that stopped answering does, until
// the test opens it. It holds 10 s at most, so code that wrongly waits for the job fails
// the test instead of hanging it.
class Gate
{
public:
    void pass()
    {
        m_thread = QThread::currentThread();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_hasTimedOut =
            !m_opened.wait_for(lock, std::chrono::seconds(10), [this] { return m_isOpen; });
    }
    void open()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_isOpen = true;
        m_opened.notify_all();
    }
    // The thread that passed; nullptr until one did.
    QThread *passer() const { return m_thread; }
    bool hasTimedOut() const { return m_hasTimedOut; }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_isOpen = false;
    std::atomic<QThread *> m_thread = nullptr;
    std::atomic<bool> m_hasTimedOut = false;
};

// Delivers posted calls until `done` holds, for 5 s at most; whether it holds.
template <typename Condition> bool deliverUntil(Condition done)
{
    for (const QDeadlineTimer deadline(5000); !done() && !deadline.hasExpired();) {
        QCoreApplication::sendPostedEvents();
        QThread::yieldCurrentThread();
    }
    return done();
}
