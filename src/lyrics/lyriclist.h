#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "lyrics/karaoke.h"

// The lyric line list (`ListLyric`): the items of the parsed lyric files, kept sorted,
// and the selected item, which is the next line due on the lyric labels.
//
// Item texts: a timed line is its time in seconds as "0000.00" (at least four integer
// digits, two decimals), "#", the lyric text and " ##"; a header is "   0.00#" and the
// title and artist. The time of an item is the number before its first "#", and the
// text to show lies between its first and its second "#".
//
// Order: by time, then by text compared without regard to letter case, then in the
// order the items were added. For the times the parser writes (0 to 9999.99 s, fixed
// width) this is plain text order, where the header's leading spaces put it before
// every timed line; times past 9999.99 s still follow their value.
//
// A line of an enhanced LRC file also keeps its word stamps (see WordStamp), in seconds on
// the list's clock and with character indices into its shown text.
struct LyricItem
{
    QString text;
    QList<WordStamp> words;
};

class LyricList
{
public:
    int count() const { return int(m_entries.size()); }
    QStringList items() const;

    // The time field in seconds; +infinity, so that the item is never due, for an index
    // out of range or an item whose text before its first "#" is not a plain decimal
    // number (digits and at most one point, spaces around them allowed).
    double seconds(int index) const;
    // The text between the first and the second "#" of the item (to its end when there
    // is no second one); "" for an index out of range.
    QString shownText(int index) const;
    // The word stamps of the item; none for an index out of range.
    QList<WordStamp> words(int index) const;

    // -1 when nothing is selected.
    int selectedIndex() const { return m_selectedIndex; }
    // False, and the selection unchanged, when `index` is not an item's index.
    bool select(int index);

    // Adds the items at their sorted places and clears the selection; the caller selects
    // the item it wants next.
    void insertItems(const QList<LyricItem> &items);
    // Items without word stamps.
    void insert(const QStringList &items);
    // Removes every item and clears the selection.
    void clear();

private:
    struct Entry
    {
        QString text;
        double seconds = 0;
        QList<WordStamp> words;
    };
    static bool isBefore(const Entry &first, const Entry &second);

    QList<Entry> m_entries;
    int m_selectedIndex = -1;
};
