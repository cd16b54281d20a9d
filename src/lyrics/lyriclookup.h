#pragma once

#include <QString>
#include <QStringList>

#include "lyrics/songtags.h"

class LyricFileChooser;
class LyricList;

// The lyric file of a song: the song's path with the extension after the last "." of
// its file name replaced by "lrc" ("/m/a.flac" gives "/m/a.lrc"); a name without "." gets
// ".lrc" appended.
QString lyricFilePath(const QString &songPath);

enum class LyricLookup {
    Found,      // a lyric file was read and its items added to the list
    NotFound,   // no lyric file, or one in a lyric folder that could not be read
    Unreadable, // the file at the candidate path itself exists but could not be read
};

// Looks for the lyric file: first `candidate` itself, then a file of the same name in
// each of `lyricDirs` in order. In each
// folder the exact name is tried first, then a name differing only in letter case. The
// first file found is the only one read: its items join `list` and item 0 is selected.
// `list` is unchanged unless the result is Found.
LyricLookup FindLyric(const QString &candidate, const QStringList &lyricDirs, LyricList &list);

// Looks for the lyrics of the song at `songPath` where users keep them, and reads the first
// source found:
//   1. the song's lyric file by FindLyric (lyricFilePath of the song);
//   2. "artist - title.lrc", then "title.lrc" from the song's tags, each first beside the
//      song, then in each of `lyricDirs`, exact name first, then one differing in letter case;
//   3. the first lyric text embedded in the song that holds LRC time tags.
// A source that is found but cannot be read gives way to the next one. The tags are read,
// with `readTags`, only when the song's lyric file is not found; an empty reader reads none.
// The items of the source read join `list` and item 0 is selected; false, with `list`
// unchanged, when no source gave lyrics.
bool FindSongLyric(const QString &songPath, const QStringList &lyricDirs,
                   const SongTagReader &readTags, LyricList &list);

// Lets the user choose a lyric file and adds its items to `list` without emptying it,
// selecting item 0 so the display starts over. False, with `list` unchanged, when the user
// cancelled or the file cannot be read.
bool OpenLyric(LyricFileChooser &chooser, LyricList &list);
