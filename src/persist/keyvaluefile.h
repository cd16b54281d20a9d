#pragma once

#include <optional>
#include <utility>

#include <QHash>
#include <QList>
#include <QString>

#include "persist/textfile.h"

// A small file of named values: a marker line that says what the file is, then one
// `key=value` line per value, in the player's text-file form (see writeTextLines). Reading is
// lenient: lines without "=" are skipped, a key's last line wins, and what the values mean is
// the caller's business, so a file from a newer player with more keys still reads.

using KeyValues = QList<std::pair<QString, QString>>;

// The lines of the file: `marker`, then the pairs in order. A key holds no "=" and no line
// break; a value holds no line break.
QStringList formatKeyValues(const QString &marker, const KeyValues &values);
// The values of `text` by key; nothing when its first line is not `marker`.
std::optional<QHash<QString, QString>> parseKeyValues(const QString &marker, const QString &text);

// The file at `path`; Unreadable as well when its first line is not `marker`.
ReadResult<QHash<QString, QString>> readKeyValueFile(const QString &path, const QString &marker);
WriteResult writeKeyValueFile(const QString &path, const QString &marker, const KeyValues &values);
