#pragma once

#include <optional>

#include <QByteArray>

#include "core/commandline.h"

// What a later start asks of the running player over the single-instance socket, and its
// bytes. A request is one header line, for "open" followed by a body of exactly the length
// the header announces:
//
//   "activate\n"               come forward
//   "open <length>\n" <body>   add these songs, play the first of them, come forward
//
// The body is UTF-8: for each song its path and then its information line (the playlist line
// that introduced it), each ended by a NUL byte, which neither can contain. The length is
// decimal, without sign or leading zero, and at most MaxBodyBytes. Nothing may follow a
// request; anything else on the socket is malformed and ignored.
namespace InstanceRequest {

inline constexpr qsizetype MaxHeaderBytes = 32;
inline constexpr qsizetype MaxBodyBytes = 4 * 1024 * 1024;
inline constexpr qsizetype MaxRequestBytes = MaxHeaderBytes + MaxBodyBytes;

enum class Status { Incomplete, Complete, Malformed };

struct Parsed
{
    Status status = Status::Incomplete;
    // Empty songs: only come forward.
    CommandLineSongs songs;
};

QByteArray activation();
// The open request for `songs` (their songs and infos); nullopt when its body would exceed
// MaxBodyBytes.
std::optional<QByteArray> open(const CommandLineSongs &songs);

// Reads `received`, everything that came on one connection so far. Incomplete while a
// well-formed beginning of a request lacks its end; a body is looked at only once it is
// whole, so reading a long request as it trickles in costs no more than reading it once.
Parsed parse(const QByteArray &received);

} // namespace InstanceRequest
