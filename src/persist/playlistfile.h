#pragma once

#include <QString>
#include <QStringList>

#include "persist/textfile.h"

// M3U playlists. Reading takes the plain form (one path per line) and the extended form
// ("#EXTM3U", then entries of an information line holding "#EXT" and a path line); the
// markers are matched case-sensitively anywhere in a line. A line whose first non-blank
// character is "#" is never an entry: an information line waits for the next entry, and
// any other such line is a comment, passed over as if it were not there. A stream address
// is always an entry, whatever it holds. Writing gives the plain form.
//
// A path line is resolved thus: a stream address (see isStreamAddress) is kept as
// written; a "file://" URL names the local file it points to; a line beginning with "/"
// is taken unchanged; any other line is relative to the playlist's folder, with "\" read
// as "/" so that lists written on Windows work, and a leading "./" dropped.

struct PlaylistEntries
{
    // Resolved song paths and stream addresses, in file order.
    QStringList songs;
    // For each song, its information line, or for a one-line entry the line as it stands
    // in the file (before any folder is put in front).
    QStringList infos;
};

// Whether `entry` is the address of a stream rather than a file: it begins with a URI
// scheme of two or more characters followed by "://" ("http://", "https://", "rtsp://",
// "mms://" and the like), other than "file". A drive letter ("C:\") is no scheme.
bool isStreamAddress(const QString &entry);

// `baseFolder` is the folder of the playlist file and ends with "/".
PlaylistEntries parsePlaylist(const QString &text, const QString &baseFolder);

// The entries of the file, which the caller appends to its lists; none when the file is
// missing or cannot be read (see readTextFile; the limit is PlaylistFileLimit).
ReadResult<PlaylistEntries> LoadPlaylist(const QString &path);

// The first entries of a playlist, for showing a long list and loading its first song while
// the rest is read.
struct PlaylistHead
{
    // As LoadPlaylist gives them, but only those of the whole lines within the first bytes
    // read; none when those bytes cannot tell how the whole file decodes (see
    // decodesAsPartOfWhole).
    PlaylistEntries entries;
    // Whether they are all the file holds.
    bool isWhole = false;
};

// The entries within the first `count` bytes of the file (see LoadPlaylist).
ReadResult<PlaylistHead> LoadPlaylistHead(const QString &path, qint64 count);

// The lines of a playlist in `listFolder` (ending with "/"), one per song, each written
// so that it reads back as itself: stream addresses as they are (a line break in one
// percent-encoded), an absolute path that would read back otherwise (one holding a line
// break or "#EXT") as a "file://" URL, and a relative name whose first non-blank character
// is "#" behind "./". A relative name that still could not be read back is written as the
// URL of the file it names from the list's folder.
QStringList formatPlaylist(const QStringList &songs, const QString &listFolder);

// Writes formatPlaylist's lines; nothing is written when the text cannot be encoded.
WriteResult SavePlaylist(const QString &path, const QStringList &songs);
