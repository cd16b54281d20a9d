#pragma once

#include <QString>
#include <QStringList>

#include "persist/textfile.h"

// The picture list and the lyric-folder list: one entry per line, then the end line
// "[END]"; whatever follows the end line is ignored. An empty list is the end line alone.

struct ListFileEntries
{
    QStringList items;
    // Whether the file had its "[END]" line. Only then is the first picture selected.
    bool hasEndMark = false;
};

// What a list shows selected after a read: its first entry, but only when the file had its
// end line (the main window's picture list), or nothing (lists that show the entries as
// stored).
enum class ListSelection { FirstAfterEndMark, None };

// What a list holds after a read.
struct ListContents
{
    QStringList items;
    // The selected item; -1 for none.
    int selected = -1;
};

ListContents picListContents(const ListFileEntries &pictures, ListSelection selection);

// Picture paths: empty lines are skipped; a line not beginning with "/" is relative to
// `programFolder` (the folder holding the list files).
ListFileEntries parsePicList(const QString &text, const QString &programFolder);

// Lyric folders as stored: every line up to the end line, empty lines included.
ListFileEntries parseLyricDirList(const QString &text);

// Not Read when the file is missing or cannot be read (see readTextFile; the limit is
// SmallTextFileLimit): the caller then keeps its list.
ReadResult<ListFileEntries> LoadPicList(const QString &path, const QString &programFolder);
ReadResult<ListFileEntries> LoadLyricDirList(const QString &path);

WriteResult SavePicList(const QString &path, const QStringList &pictures);
WriteResult SaveLyricDirList(const QString &path, const QStringList &folders);
