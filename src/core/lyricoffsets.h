#pragma once

#include <QList>
#include <QString>

#include "core/latestwriter.h"
#include "persist/lyricoffsetfile.h"

// The lyric offsets the user has set per song (the song's path or URL), kept across runs in
// the player's own file (see lyricoffsetfile.h), never in the song's lyric file.
//
// The file is read at start-up with the other files of the data folder and written on the
// store's worker after every change, only the newest change counting (see LatestWriter); the
// shutdown writes what is still unwritten.
class LyricOffsets
{
public:
    // `path` names the file.
    explicit LyricOffsets(const QString &path);

    const QString &path() const { return m_writer.path(); }
    // Reads the file. A file that is there but cannot be read is told on stderr and left as
    // it is: this run does not write it.
    void load();
    // The song's offset in milliseconds; 0 for a song without one.
    int offset(const QString &song) const;
    // Keeps `milliseconds` for `song` as its newest change (0 removes it), the oldest
    // change going past MaxLyricOffsetEntries, and writes the file.
    void setOffset(const QString &song, int milliseconds);
    // Shutdown: writes the newest change unless it is written already.
    WriteResult flush() { return m_writer.flush(); }

private:
    // The oldest change first.
    QList<LyricOffsetEntry> m_entries;
    LatestWriter m_writer;
};
