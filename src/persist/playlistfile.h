#pragma once

#include <QString>
#include <QStringList>

#include "persist/textfile.h"

// M3U playlists. Reading takes the plain form (one path per line) and the extended form
// ("#EXTM3U", then entries of an information line holding "#EXT" and a path line); the
// markers are matched case-sensitively anywhere in a line. Writing gives the plain form.
//
// A path line is resolved thus: a "file://" URL names the local file it points to; a line
// beginning with "/" is taken unchanged; any other line is relative to the playlist's
// folder, with "\" read as "/" so that lists written on Windows work.

struct PlaylistEntries
{
    // Resolved song paths, in file order.
    QStringList songs;
    // For each song, its information line, or for a one-line entry the line as it stands
    // in the file (before any folder is put in front).
    QStringList infos;
};

// `baseFolder` is the folder of the playlist file and ends with "/".
PlaylistEntries parsePlaylist(const QString &text, const QString &baseFolder);

// The entries of the file, which the caller appends to its lists; empty when the file
// is missing or cannot be read.
PlaylistEntries LoadPlaylist(const QString &path);

// Writes one song per line. A path that would not read back as itself (one holding a line
// break or "#EXT") is written as a "file://" URL.
WriteResult SavePlaylist(const QString &path, const QStringList &songs);
