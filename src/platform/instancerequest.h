#pragma once

#include <optional>

#include <QByteArray>

#include "core/commandline.h"

// What a later start asks of the running player over the single-instance socket, and its
// bytes. A connection carries one activation, or one or more open requests in a row:
//
//   "activate\n"               come forward
//   "open <length>\n" <body>   add these songs; the first open of a connection also plays the
//                              first of them and brings the player forward
//
// The body is UTF-8: for each song its path and then its information line (the playlist line
// that introduced it), each ended by a NUL byte, which neither can contain; for each folder,
// in its place among the songs, an empty path and then the folder's absolute path. So a folder
// of any size goes over as its name, and the running player lists it. The length is
// decimal, without sign or leading zero, and at most MaxBodyBytes. Songs too many for one
// body go in as many requests as they need, so the running player never holds more than one
// request of a connection, however many songs come. Anything else on the socket is malformed
// and ends the connection.
namespace InstanceRequest {

inline constexpr qsizetype MaxHeaderBytes = 32;
inline constexpr qsizetype MaxBodyBytes = 4 * 1024 * 1024;
inline constexpr qsizetype MaxRequestBytes = MaxHeaderBytes + MaxBodyBytes;

enum class Status { Incomplete, Complete, Malformed };

struct Parsed
{
    Status status = Status::Incomplete;
    // No songs and no folders: only come forward.
    CommandLineSongs songs;
    // When complete, the request's bytes at the start of what was parsed.
    qsizetype size = 0;
};

QByteArray activation();
// The open requests for `songs` (their songs and folders, never none of both, and infos),
// one after another; nullopt when a single song's or folder's fields exceed MaxBodyBytes.
std::optional<QByteArray> open(const CommandLineSongs &songs);

// Reads the request at the start of `received`, what came on one connection since the
// requests before it. Incomplete while a well-formed beginning of a request lacks its end;
// bytes after a complete request are the next one's. A body is looked at only once it is
// whole, so reading a long request as it trickles in costs no more than reading it once.
Parsed parse(const QByteArray &received);

} // namespace InstanceRequest
