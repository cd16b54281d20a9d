#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading and writing the player's text files whole. Every text file the player reads
// goes through readTextFile, with a size limit; writers replace a file atomically, so a
// crash or a full disk never leaves half a file behind.

// Size limits of the files the player reads, in bytes. No real playlist, settings, list
// or lyric file comes near them; a larger file, or an endless one, would stall the player
// or exhaust its memory.
constexpr qint64 PlaylistFileLimit = 64 * 1024 * 1024;
// Settings, picture list, lyric-folder list and lyric files.
constexpr qint64 SmallTextFileLimit = 4 * 1024 * 1024;

enum class ReadStatus {
    Read,       // the file was read and understood
    Missing,    // nothing exists at the path
    Unreadable, // something exists there but gave nothing usable
};

// What every reader of the player's files returns: what it read, or why not. A reader that
// must tell more than read or not (the settings) says so in its value.
template <typename T> struct ReadResult
{
    ReadStatus status = ReadStatus::Missing;
    // What was read; T() unless Read, except where a reader says otherwise.
    T value{};
    // Why an existing file could not be read, for a message that names the file; empty
    // unless Unreadable.
    QString error;

    bool isRead() const { return status == ReadStatus::Read; }
};

// The bytes of the regular file at `path` if it holds at most `maxBytes` bytes. Anything
// else is Unreadable: a folder, a named pipe or a device is refused without reading a byte,
// and so is a file whose size is over the limit; a file that grows past the limit while it
// is read is refused after maxBytes + 1 bytes; and so is a read error.
ReadResult<QByteArray> readFile(const QString &path, qint64 maxBytes);

// The first bytes of the file at `path`, at most `count` of them, the file refused as readFile
// refuses it; fewer than `count` only when that is all the file holds.
ReadResult<QByteArray> readFileHead(const QString &path, qint64 maxBytes, qint64 count);

// What was read, decoded (see decodeText); text that cannot be decoded is Unreadable.
ReadResult<QString> decodeRead(const ReadResult<QByteArray> &file);
// readFile, then decodeRead.
ReadResult<QString> readTextFile(const QString &path, qint64 maxBytes);

struct WriteResult
{
    bool ok = true;
    // Why the file could not be written, for a message that names the file.
    QString error;
};

// Writes each line followed by CR LF, in GB18030 (see encodeFileText), creating the
// folder when missing. When the text cannot be encoded nothing is written and any file
// at `path` stays as it was.
WriteResult writeTextLines(const QString &path, const QStringList &lines);
// Replaces the file at `path` with `bytes` as a whole or not at all, creating the folder
// when missing: the bytes go to a new file beside it, every one of them written and flushed
// to the disk, and that file then takes the old one's place. On any failure (a full disk,
// a file size limit, a folder that cannot be written) the old file stays byte for byte,
// nothing else is left behind, and the error is the system's reason. A replaced file keeps
// its permissions and a link keeps pointing at it; a new file is 0644 less the umask.
WriteResult writeFileBytes(const QString &path, const QByteArray &bytes);
