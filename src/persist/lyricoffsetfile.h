#pragma once

#include <QList>
#include <QString>

#include "persist/textfile.h"

// The lyric offsets the user has set per song (zorvan.lof): one line per song,
// "milliseconds<TAB>path", the oldest change first. A positive offset makes every line of the
// song's lyrics come that much later. Lines that are not of this form, or whose offset is 0
// or beyond MaxLyricOffsetMilliseconds, are skipped; of a path given twice the later line
// counts. At most MaxLyricOffsetEntries songs are kept, the most recently changed.

struct LyricOffsetEntry
{
    QString song;
    int milliseconds = 0;

    bool operator==(const LyricOffsetEntry &) const = default;
};

constexpr int MaxLyricOffsetMilliseconds = 600'000;
constexpr qsizetype MaxLyricOffsetEntries = 2000;

QList<LyricOffsetEntry> parseLyricOffsets(const QString &text);

// Not Read when the file is missing or cannot be read (see readTextFile; the limit is
// SmallTextFileLimit).
ReadResult<QList<LyricOffsetEntry>> LoadLyricOffsets(const QString &path);
// The entries as given, each on its line; the caller keeps them within the bounds.
WriteResult SaveLyricOffsets(const QString &path, const QList<LyricOffsetEntry> &entries);
