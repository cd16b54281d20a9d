#include "platform/gsttrack.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

#include <QFile>

#include <gst/gst.h>

#include "core/workqueue.h"

namespace {

// The tracks whose threads are still running, for waitForAllEnded() and for a later track
// of the same source to wait on.
std::mutex liveMutex;
std::condition_variable trackEnded;
std::vector<const GstTrack *> liveTracks;

} // namespace

GstTrack::GstTrack(quint64 serial, const QString &path) : m_serial(serial), m_path(path) {}

GstTrack::~GstTrack() = default;

void GstTrack::start(std::function<GstElement *()> build)
{
    {
        const std::lock_guard<std::mutex> lock(liveMutex);
        liveTracks.push_back(this);
    }
    // The thread keeps the track alive until it has freed the pipeline.
    std::thread([self = shared_from_this(), build = std::move(build)]() mutable {
        self->run(build);
        const std::lock_guard<std::mutex> lock(liveMutex);
        std::erase(liveTracks, self.get());
        trackEnded.notify_all();
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

void GstTrack::retire(WorkQueue &helper)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_isRetired = true;
        m_commands.clear();
        m_wakeUp.notify_one();
    }
    bool hasNamedPipes = m_isNamedPipe;
    {
        const std::lock_guard<std::mutex> lock(liveMutex);
        hasNamedPipes = hasNamedPipes || !m_namedPipes.isEmpty();
    }
    // Nothing comes back: the track's thread ends once its readers are let go.
    if (hasNamedPipes && !m_hasEnded)
        helper.add([self = shared_from_this()] { return self->releaseNamedPipeReaders(); },
                   [](bool) {});
}

void GstTrack::addSource(const QString &path)
{
    struct stat status;
    const bool isNamedPipe =
        ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
    const std::lock_guard<std::mutex> lock(liveMutex);
    m_addedSources << path;
    if (isNamedPipe)
        m_namedPipes << path;
}

bool GstTrack::releaseNamedPipeReaders()
{
    QList<QByteArray> paths;
    {
        const std::lock_guard<std::mutex> lock(liveMutex);
        for (const QString &path : m_namedPipes)
            paths << QFile::encodeName(path);
    }
    if (m_isNamedPipe)
        paths << QFile::encodeName(m_path);
    // GStreamer opens the pipe more than once while it finds out what it holds, so the
    // writer comes again and again, for a few seconds at most.
    for (int attempt = 0; attempt < 150 && !m_hasEnded; ++attempt) {
        for (const QByteArray &path : paths) {
            const int writer = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0)
                ::close(writer);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return m_hasEnded;
}

bool GstTrack::holds(const QString &path) const
{
    return m_path == path || m_addedSources.contains(path);
}

bool GstTrack::waitForAllEnded(int milliseconds, int stillRunning)
{
    std::unique_lock<std::mutex> lock(liveMutex);
    return trackEnded.wait_for(lock, std::chrono::milliseconds(milliseconds), [stillRunning] {
        return liveTracks.size() <= size_t(stillRunning);
    });
}

void GstTrack::waitForEarlierTracksOfThePath()
{
    const auto isHeld = [this] {
        return std::ranges::any_of(liveTracks, [this](const GstTrack *track) {
            return track->m_serial < m_serial && track->holds(m_path);
        });
    };
    std::unique_lock<std::mutex> lock(liveMutex);
    while (isHeld() && !m_isRetired)
        trackEnded.wait_for(lock, std::chrono::milliseconds(50));
}

void GstTrack::run(const std::function<GstElement *()> &build)
{
    waitForEarlierTracksOfThePath();
    if (m_isRetired) {
        m_hasEnded = true;
        return;
    }
    struct stat status;
    m_isNamedPipe =
        ::stat(QFile::encodeName(m_path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
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
    if (pipeline) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(pipeline);
    }
    m_hasEnded = true;
}
