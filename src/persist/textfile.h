#pragma once

#include <optional>

#include <QString>
#include <QStringList>

// Reading and writing the player's text files whole. Writers replace a file
// atomically, so a crash or a full disk never leaves half a file behind.

struct WriteResult
{
    bool ok = true;
    // Why the file could not be written, for a message that names the file.
    QString error;
};

// The decoded text of the file (see decodeText), or nothing when it does not exist or
// cannot be read.
std::optional<QString> readTextFile(const QString &path);

// Writes each line followed by CR LF, in GB18030 (see encodeFileText), creating the
// folder when missing.
WriteResult writeTextLines(const QString &path, const QStringList &lines);
