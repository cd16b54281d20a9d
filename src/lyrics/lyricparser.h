#pragma once

#include <QString>
#include <QStringList>

#include "lyrics/lyriclist.h"
#include "persist/textfile.h"

// LRC lyric files. A line is a run of tags, each "[...]", then the lyric text:
//   [ti:Title] [ar:Artist]   the header text "Title - Artist", whatever the order of the
//                            tags; a later title replaces an earlier one, a later artist
//                            is appended; without a title the header is the artist alone;
//                            [al:...] and [by:...] are ignored
//   [offset:500]             milliseconds taken off every time tag after it in the file
//   [01:23.45]               a time: 1 to 3 digits of minutes, ":", 1 or 2 digits of
//                            seconds, optionally "." or ":" and a fraction cut to
//                            hundredths; one item per time tag, all with the line's text
// A tag that is none of these is skipped. A time is rounded to hundredths (halves to even);
// a time before 0 is 0, one past 999:59.99 is skipped.
//
// Word-timing marks ("<01:02.50>", the times of the tag form) are removed from the text and
// become the item's word stamps, each at the character of the shown text it stood before: a
// mark before a word starts it, one after the last word ends the line. They are times of
// the file like the line's, so [offset:] applies to them; an item of a second or later
// time tag of the line gets them at the same distance from its time as from the first tag's.
// A stamp never comes before its item nor before the stamp ahead of it (a mark that goes
// back counts as the one before it). Angle brackets that hold no time stay in the text.

// The items of one file's text for the lyric line list: the timed items in the file's
// order, then the header item "   0.00#" and the header text.
//
// The work is bounded by the text's size: at most MaxLyricItems timed items, of at most
// lyricItemCharacters(text.size()) characters together. The first item that would pass
// either bound ends the parse: the items before it are kept, the rest of the file is left
// out and `isCut`, when given, is set (cleared otherwise). Real lyric files, whose
// items hold each line's text once per time tag, come nowhere near; a crafted line of many
// tags before a long text would otherwise fill the memory. A word stamp counts for
// StampCharacters characters of its item.
QList<LyricItem> parseLyricItems(const QString &text, bool *isCut = nullptr);
// The texts of parseLyricItems.
QStringList parseLyricText(const QString &text, bool *isCut = nullptr);

constexpr qsizetype MaxLyricItems = 200'000;
constexpr qsizetype StampCharacters = qsizetype(sizeof(WordStamp) / sizeof(QChar));
constexpr qsizetype lyricItemCharacters(qsizetype textSize)
{
    return 8 * textSize + 1024 * 1024;
}

// Files larger than this are no lyric files; they are refused unread, so a wrong choice
// cannot stall the player or fill its memory.
constexpr qint64 MaxLyricFileBytes = SmallTextFileLimit;

// Reads the file at `path` (see readTextFile) and adds its items to `list` (without
// emptying it), then selects item 0. False, with `list` unchanged, when there is no such
// file or it cannot be read. A file cut short by the bounds above is told on stderr
// ("zorvan.lyrics") and gives what was kept.
bool ParseLyricFile(const QString &path, LyricList &list);
