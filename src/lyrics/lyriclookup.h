#pragma once

#include <QString>
#include <QStringList>

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

// Lets the user choose a lyric file and adds its items to `list` without emptying it,
// selecting item 0 so the display starts over. False, with `list` unchanged, when the user
// cancelled or the file cannot be read.
bool OpenLyric(LyricFileChooser &chooser, LyricList &list);
