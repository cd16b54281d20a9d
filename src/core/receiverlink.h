#pragma once

#include <memory>
#include <mutex>
#include <utility>

#include <QMetaObject>
#include <QObject>

// A way back from a background thread to an object of the user-interface thread that may be
// gone by the time the thread has something to say. The object holds the link and cuts it
// in its destructor; a thread holds a copy and posts through it. A call posted before the cut
// is dropped with the object's pending events; after the cut nothing is posted at all.
class ReceiverLink
{
public:
    static std::shared_ptr<ReceiverLink> create(QObject *receiver)
    {
        return std::shared_ptr<ReceiverLink>(new ReceiverLink(receiver));
    }

    // From any thread: runs `call` on the receiver's thread, unless the link was cut.
    template <typename Call> void post(Call &&call)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_receiver)
            QMetaObject::invokeMethod(m_receiver, std::forward<Call>(call), Qt::QueuedConnection);
    }

    // Called by the receiver's destructor, on its thread.
    void cut()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_receiver = nullptr;
    }

private:
    explicit ReceiverLink(QObject *receiver) : m_receiver(receiver) {}

    std::mutex m_mutex;
    QObject *m_receiver;
};
