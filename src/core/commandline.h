#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The songs a start asks for: each command-line argument is one path, file:// URL or stream
// address (kept as it is).
// A playlist (a path whose last three letters are "m3u", in any case) gives its entries, a
// folder its readable sound files (see soundFilesIn), and any other existing file itself. A
// folder is only named here: listing it may take long, so that is left to whoever adds the
// songs, off the user-interface thread. Relative paths are taken from `workingFolder`, so the saved
// list still names the files at the next start.
struct CommandLineSongs
{
    QStringList songs;
    // For each song, the line of its playlist that introduced it, or the song itself.
    QStringList infos;
    // What went wrong with arguments that gave no song: one line each, for stderr.
    QStringList problems;

    // A folder given, whose sound files go in its place: before songs[before], or after all
    // of them when `before` is songs.size(). Folders at the same place keep their order.
    struct Folder
    {
        qsizetype before = 0;
        QString path;
        bool operator==(const Folder &) const = default;
    };
    QList<Folder> folders{};

    // Neither a song nor a folder: the start asks for nothing.
    bool isEmpty() const { return songs.isEmpty() && folders.isEmpty(); }
};

CommandLineSongs songsFromArguments(const QStringList &arguments, const QString &workingFolder);

// The files named as sound files (mp3, wma, wav, in any case) right in `folder`, not in its
// subfolders, as paths in it, sorted by name in the user's locale with numbers by their value;
// none when it cannot be read. Whether each can be read is left to readableFiles, so that the
// first songs of a big folder need not wait for all of them to be checked. Reads the disk.
QStringList soundFilesIn(const QString &folder);
// Those of `paths` that name files this user can read, in their order. Reads the disk.
QStringList readableFiles(const QStringList &paths);
