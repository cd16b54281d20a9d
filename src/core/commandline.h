#pragma once

#include <utility>
#include <vector>

#include <QCollator>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

// The songs a start asks for: each command-line argument is one path, file:// URL or stream
// address (kept as it is).
// A playlist (a path whose last three letters are "m3u", in any case) gives its entries, a
// folder its readable sound files (see SoundFolder), and any other existing file itself. A
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

// The files named as sound files (mp3, wma, wav, in any case) right in a folder, not in its
// subfolders, in the order of their names in the user's locale with numbers by their value.
// The first in order is found in one pass over the listing, so a big folder's first song can
// play without waiting for the sort, nor for the checks of the rest. Whether each can be read
// is left to readableFiles. Reads the disk, so it is for a worker thread; one thread at a time.
class SoundFolder
{
public:
    // Lists `folder`; none when it cannot be read.
    void list(const QString &folder);
    // The path of the first in order; empty when there is none.
    QString first() const;
    // The paths of all of them in order, less the first `skip` (at most as many as there are).
    QStringList sorted(qsizetype skip = 0);

private:
    QDir m_folder;
    // One key per name rather than two collations per comparison: far faster for big folders.
    std::vector<std::pair<QCollatorSortKey, QString>> m_files;
};

// Those of `paths` that name files this user can read, in their order. Reads the disk.
QStringList readableFiles(const QStringList &paths);
