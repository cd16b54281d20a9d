#include "core/lyricoffsets.h"

#include <algorithm>

#include <QLoggingCategory>
#include <QMutex>

Q_LOGGING_CATEGORY(lcLyricOffsets, "zorvan.lyrics", QtWarningMsg)

namespace {

// The kind of the writes on the worker: only the newest one waiting counts.
constexpr int WriteJob = 1;

} // namespace

// What the writes share, on the worker and at shutdown: one write at a time, and the
// number of the newest change on the disk.
struct LyricOffsets::Writer
{
    QMutex mutex;
    quint64 written = 0;

    // Writes `entries`, change number `change`, unless a newer change is written already;
    // waits for a write under way at most `waitMs` (-1: as long as it takes).
    void write(const QString &path, const QList<LyricOffsetEntry> &entries, quint64 change,
               int waitMs)
    {
        if (!mutex.tryLock(waitMs)) {
            qCWarning(lcLyricOffsets).noquote()
                << QStringLiteral("cannot write %1: an earlier write does not end").arg(path);
            return;
        }
        if (change > written) {
            const WriteResult result = SaveLyricOffsets(path, entries);
            if (result.ok)
                written = change;
            else
                qCWarning(lcLyricOffsets).noquote()
                    << QStringLiteral("cannot write %1: %2").arg(path, result.error);
        }
        mutex.unlock();
    }
};

LyricOffsets::LyricOffsets(QString path)
    : m_path(std::move(path)), m_writer(std::make_shared<Writer>())
{}

LyricOffsets::~LyricOffsets() = default;

void LyricOffsets::load()
{
    const ReadResult<QList<LyricOffsetEntry>> read = LoadLyricOffsets(m_path);
    m_isWritable = read.status != ReadStatus::Unreadable;
    if (!m_isWritable) {
        qCWarning(lcLyricOffsets).noquote()
            << QStringLiteral("cannot read %1: %2").arg(m_path, read.error);
    }
    m_entries = read.value;
}

int LyricOffsets::offset(const QString &song) const
{
    const auto entry = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const LyricOffsetEntry &each) { return each.song == song; });
    return entry == m_entries.cend() ? 0 : entry->milliseconds;
}

void LyricOffsets::setOffset(const QString &song, int milliseconds)
{
    m_entries.removeIf([&](const LyricOffsetEntry &each) { return each.song == song; });
    if (milliseconds != 0)
        m_entries.append({song, milliseconds});
    if (m_entries.size() > MaxLyricOffsetEntries)
        m_entries.remove(0, m_entries.size() - MaxLyricOffsetEntries);
    if (!m_isWritable)
        return;
    m_writes.add([writer = m_writer, path = m_path, entries = m_entries, change = ++m_changes] {
        writer->write(path, entries, change, -1);
        return true;
    }, [](bool) {}, WriteJob);
}

void LyricOffsets::flush()
{
    if (m_changes > 0)
        m_writer->write(m_path, m_entries, m_changes, WriteWaitMs);
}
