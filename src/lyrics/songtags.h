#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// What a song's own tags tell the lyric lookup.
struct SongTags
{
    QString artist;
    QString title;
    // The lyric texts embedded in the song, best first (synchronised lyrics as LRC lines
    // "[mm:ss.xx]text" before unsynchronised ones); whether a text holds LRC time tags is the
    // lookup's to find out.
    QStringList lyricTexts;
};

// Reads the tags of the song at a path; empty tags for a file that has none or cannot be
// read. It may block on the file, so it runs off the user-interface thread, and it may run
// on any thread.
using SongTagReader = std::function<SongTags(const QString &songPath)>;
