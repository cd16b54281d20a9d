#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include <QString>
#include <QStringList>

#include <gst/gst.h>

class WorkQueue;

// One track: a playbin of its own and the thread that changes its states.
//
// A state change can block for good: filesrc opens a named pipe without a writer inside the
// change to PAUSED, and the change to NULL waits for a streaming thread that is stuck reading
// a stalled source. So no other thread ever changes a state of this pipeline: commands are
// queued to the track's thread and run there in order. When the track is retired its
// thread drops what is still queued, stops waiting for a preroll, sets the pipeline to NULL
// and frees it; if that blocks, only this thread waits, and it ends when the source lets go
// or the process does.
//
// Threads: the track is shared by its thread and by the user-interface thread, which queues
// commands and retires it; the pipeline itself is touched only by the track's thread (and
// GStreamer's own streaming threads).
class GstTrack : public std::enable_shared_from_this<GstTrack>
{
public:
    using Command = std::function<void(GstElement *pipeline)>;

    // `serial` and `path` name the track for its owner.
    GstTrack(quint64 serial, const QString &path);
    ~GstTrack();

    quint64 serial() const { return m_serial; }
    const QString &path() const { return m_path; }

    // Starts the thread, which first builds the pipeline with `build` (the result is owned
    // by the track; nullptr when it could not be made) and then runs the commands posted.
    void start(std::function<GstElement *()> build);
    // Runs `command` on the track's thread after the ones queued before it.
    void post(Command command);
    // Ends the track: queued commands are dropped and the pipeline freed, off this thread.
    // A reader stuck opening or reading a local named pipe is let go by a job on `helper`:
    // the pipe is opened for writing and closed again, which gives the reader its end, until
    // the thread has ended.
    void retire(WorkQueue &helper);
    // Notes a source that follows the track's own in its pipeline (see queueNext()). From a
    // streaming thread; looking at the path may block on a dead mount, which holds only
    // that thread. A named pipe among them is let go like the track's own when it is
    // retired, and a later track of one of these paths waits for this one to end.
    void addSource(const QString &path);
    // True once retire() was called: a command that waits should give up.
    bool isRetired() const { return m_isRetired.load(); }
    // The run the track is in: each seek starts a new one, so that an end of stream posted
    // before the seek is told from one after it. Read by the streaming threads.
    quint64 run() const { return m_run.load(); }
    void setRun(quint64 run) { m_run.store(run); }

    // Waits up to `milliseconds` until the threads of all tracks but `stillRunning` have
    // ended; true when they have. Used at exit, so a pipeline is not torn down by the
    // process's end mid-change.
    static bool waitForAllEnded(int milliseconds, int stillRunning = 0);

private:
    void run(const std::function<GstElement *()> &build);
    // Another try at a source that an earlier track still holds (a pipe, or a mount that
    // stalls) waits until that one lets go or this one is retired: stuck readers never pile
    // up, and the owner's open timeout reports the source as not answering.
    void waitForEarlierTracksOfThePath();
    // A job for the helper's thread; true when the track's thread has ended.
    bool releaseNamedPipeReaders();
    bool holds(const QString &path) const;

    const quint64 m_serial;
    const QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    std::deque<Command> m_commands;
    std::atomic<bool> m_isRetired = false;
    std::atomic<bool> m_hasEnded = false;
    // Whether the track's path names a local named pipe; found out on the track's thread,
    // since looking at a path on a dead mount may block.
    std::atomic<bool> m_isNamedPipe = false;
    // The sources added later, and which of them are named pipes; under the list of live
    // tracks' mutex.
    QStringList m_addedSources;
    QStringList m_namedPipes;
    std::atomic<quint64> m_run = 0;
};
