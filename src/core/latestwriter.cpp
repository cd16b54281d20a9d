#include "core/latestwriter.h"

#include <QLoggingCategory>
#include <QMutex>

namespace {

// The kind of the writes on the worker: only the newest one waiting counts.
constexpr int WriteKind = 1;

} // namespace

// What the worker and flush() share.
struct LatestWriter::Shared
{
    QMutex mutex;
    // The number of the newest change on the disk; under `mutex`.
    quint64 written = 0;

    // Runs `job` for change `change` unless a change as new is written already; the caller
    // holds `mutex`.
    WriteResult write(const Job &job, const QString &path, quint64 change)
    {
        if (change <= written)
            return {};
        WriteResult result = job(path);
        if (result.ok)
            written = change;
        return result;
    }
};

LatestWriter::LatestWriter(QString path, const QLoggingCategory &log)
    : m_path(std::move(path)), m_log(&log), m_shared(std::make_shared<Shared>())
{}

LatestWriter::~LatestWriter() = default;

void LatestWriter::write(Job job)
{
    if (m_isKept)
        return;
    m_newest = std::move(job);
    m_queue.add(
        [shared = m_shared, job = m_newest, path = m_path, change = ++m_change] {
            const QMutexLocker locker(&shared->mutex);
            return shared->write(job, path, change);
        },
        [this](const WriteResult &written) {
            if (!written.ok)
                qCWarning(*m_log).noquote()
                    << QStringLiteral("cannot write %1: %2").arg(m_path, written.error);
        },
        WriteKind);
}

WriteResult LatestWriter::flush()
{
    if (!m_newest)
        return {};
    // A write stuck on a dead disk is not waited for without end.
    if (!m_shared->mutex.tryLock(WaitMs))
        return {false, QStringLiteral("an earlier write does not end")};
    WriteResult result = m_shared->write(m_newest, m_path, m_change);
    m_shared->mutex.unlock();
    return result;
}
