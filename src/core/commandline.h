#pragma once

#include <QString>
#include <QStringList>

// The songs a start asks for: each command-line argument is one path, file:// URL or stream
// address (kept as it is).
// A playlist (a path whose last three letters are "m3u", in any case) gives its entries, a
// folder its sound files (mp3, wma, wav) sorted by name in the user's locale, without going
// into subfolders, and any other existing file itself. Relative paths are taken from
// `workingFolder`, so the saved list still names the files at the next start.
struct CommandLineSongs
{
    QStringList songs;
    // For each song, the line of its playlist that introduced it, or the song itself.
    QStringList infos;
    // What went wrong with arguments that gave no song: one line each, for stderr.
    QStringList problems;
};

CommandLineSongs songsFromArguments(const QStringList &arguments, const QString &workingFolder);
