#pragma once

#include <optional>

#include <QString>

// Program arguments in the Exec key of a desktop entry, quoted as the freedesktop
// Desktop Entry Specification requires. Both functions work on the value after string escaping is
// undone (see DesktopEntryFile), so a literal backslash ends up written four times in the file.

// `argument` as one Exec argument: "%" doubled; the whole argument in double quotes, with
// '"', '`', '$' and '\' escaped, when it holds a reserved character (white space, quotes,
// shell metacharacters) or a control character. A plain path stays as it is.
QString execArgument(const QString &argument);

// The first argument of `exec`, unquoted, "%%" back to "%"; nothing when it is empty or its
// quotes are not closed.
std::optional<QString> execProgram(const QString &exec);
