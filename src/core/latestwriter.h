#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "core/workqueue.h"
#include "persist/textfile.h"

class QLoggingCategory;

// Keeps one file in the newest state it is given, writing it on a worker of its own (see
// WorkQueue), so a stalled disk never holds up the user-interface thread.
//
// Only the newest state counts: a write still waiting is dropped for a newer one, and each
// write carries the number of its change, so a write never replaces a newer one on the disk.
// The worker's writes and the shutdown's flush() take turns under one mutex: a write under way
// on the worker ends before the shutdown's, and then finds the newer change written and writes
// nothing. The worker's failures are told on stderr under the owner's logging category.
class LatestWriter
{
public:
    // Writes the file at the path it is given; runs on the worker or in flush().
    using Job = std::function<WriteResult(const QString &path)>;

    // How long flush() waits for a write under way on the worker.
    static constexpr int WaitMs = 2000;

    LatestWriter(QString path, const QLoggingCategory &log);
    ~LatestWriter();

    const QString &path() const { return m_path; }
    // Hands the file's newest state to the worker.
    void write(Job job);
    // From now on nothing is written: the file is there but could not be read, and this run
    // leaves it as it is.
    void keepFile() { m_isKept = true; }
    // Shutdown: writes the newest state unless it is on the disk already; waits for a write
    // under way at most WaitMs. Nothing to write is a success.
    WriteResult flush();

private:
    struct Shared;

    QString m_path;
    const QLoggingCategory *m_log;
    bool m_isKept = false;
    // The newest state and its change number; none asked for yet: null and 0.
    Job m_newest;
    quint64 m_change = 0;
    std::shared_ptr<Shared> m_shared;
    WorkQueue m_queue;
};
