#include "platform/gsttrack.h"

#include <thread>

#include <gst/gst.h>

namespace {

// How many track threads are still running, for waitForAllEnded().
std::mutex liveMutex;
std::condition_variable allEnded;
int liveThreads = 0;

} // namespace

GstTrack::GstTrack(quint64 serial, const QString &path) : m_serial(serial), m_path(path) {}

GstTrack::~GstTrack() = default;

void GstTrack::start(std::function<GstElement *()> build, Command open)
{
    m_commands.push_back(std::move(open));
    {
        const std::lock_guard<std::mutex> lock(liveMutex);
        ++liveThreads;
    }
    // The thread keeps the track alive until it has freed the pipeline.
    std::thread([self = shared_from_this(), build = std::move(build)]() mutable {
        self->run(std::move(build));
        const std::lock_guard<std::mutex> lock(liveMutex);
        if (--liveThreads == 0)
            allEnded.notify_all();
    }).detach();
}

void GstTrack::post(Command command)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_isRetired)
        return;
    m_commands.push_back(std::move(command));
    m_wakeUp.notify_one();
}

void GstTrack::retire()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_isRetired = true;
    m_commands.clear();
    m_wakeUp.notify_one();
}

bool GstTrack::waitForAllEnded(int milliseconds)
{
    std::unique_lock<std::mutex> lock(liveMutex);
    return allEnded.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [] { return liveThreads == 0; });
}

void GstTrack::run(std::function<GstElement *()> build)
{
    GstElement *pipeline = build();
    for (;;) {
        Command command;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wakeUp.wait(lock, [this] { return m_isRetired || !m_commands.empty(); });
            if (m_isRetired)
                break;
            command = std::move(m_commands.front());
            m_commands.pop_front();
        }
        if (pipeline)
            command(pipeline);
    }
    if (!pipeline)
        return;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(pipeline);
}
