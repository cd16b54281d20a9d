#pragma once

#include <QList>

// The karaoke fill of a lyric line: how much of its shown text has been sung at a position.
// Times are seconds on the lyrics' own clock (the position less the lyric offset).

// A word-timing mark of an enhanced LRC line: from `seconds` on, the characters from
// `character` of the line's shown text on (up to the next mark's character) are sung.
struct WordStamp
{
    int character = 0;
    double seconds = 0;

    bool operator==(const WordStamp &) const = default;
};

// How many characters of a line of `length` characters are sung at `position`: 0 until the
// line's `start`, `length` from its `end` on, and in between a fraction for the character
// being sung. The characters of each stamp fill evenly from its time to the next stamp's;
// those before the first stamp from `start`, those after the last one until `end` (a stamp
// at `length` ends the line early). Without stamps the whole line fills evenly from `start`
// to `end`. Stamps are taken in order; one whose character or time goes back counts as the
// one before it, so any list gives a fill that never goes back.
double sungCharacters(int length, const QList<WordStamp> &stamps, double start, double end,
                      double position);

// When the fill of a line starting at `start` ends: at the next line's time `next`
// (+infinity for none); for the last line at the track's end `trackEnd` when that is later
// than `start` (-infinity while the length is unknown), else LastLineSeconds after `start`.
double lineEnd(double start, double next, double trackEnd);

constexpr double LastLineSeconds = 5;
