#pragma once

#include <memory>

#include <QList>
#include <QString>

#include "core/workqueue.h"
#include "persist/lyricoffsetfile.h"

// The lyric offsets the user has set per song (the song's path or URL), kept across runs in
// the player's own file (see lyricoffsetfile.h), never in the song's lyric file.
//
// The file is read at start-up with the other files of the data folder and written on the
// store's worker after every change, only the newest waiting write counting. Writes carry
// the number of the change they hold: a write never replaces a newer one, so the write at
// shutdown of a change still waiting (flush) and a worker's write can run in either order.
class LyricOffsets
{
public:
    // `path` names the file.
    explicit LyricOffsets(QString path);
    ~LyricOffsets();

    // Reads the file. A file that is there but cannot be read is told on stderr and left as
    // it is: this run does not write it.
    void load();
    // The song's offset in milliseconds; 0 for a song without one.
    int offset(const QString &song) const;
    // Keeps `milliseconds` for `song` as its newest change (0 removes it), the oldest
    // change going past MaxLyricOffsetEntries, and writes the file.
    void setOffset(const QString &song, int milliseconds);
    // Shutdown: writes a change whose write has not been done, waiting for a write under
    // way at most WriteWaitMs. A write that fails is told on stderr ("zorvan.lyrics").
    void flush();
    static constexpr int WriteWaitMs = 2000;

private:
    struct Writer;

    QString m_path;
    // The oldest change first.
    QList<LyricOffsetEntry> m_entries;
    bool m_isWritable = true;
    // Changes made in this run.
    quint64 m_changes = 0;
    std::shared_ptr<Writer> m_writer;
    WorkQueue m_writes;
};
