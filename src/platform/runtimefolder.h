#pragma once

#include <QString>

// The folder for what only lives while the player runs (its single-instance socket): a folder
// that nobody but the user can reach, never a relative path.
//
// The session's runtime folder serves when it is an absolute path to a folder of the user's
// own (not a symbolic link) with the permissions 0700. Otherwise a folder "zorvan-<uid>" in
// the temporary folder serves, made with 0700 when missing and held to the same test; one
// that fails it, as one another user made first, is refused, never used or changed.
struct RuntimeFolder
{
    // Absolute; empty when no private folder could be had.
    QString path;
    // Why the session's runtime folder was passed over, or why there is no path: one line for
    // stderr. Empty when all is well, or when no runtime folder was set.
    QString problem;
};

// `sessionFolder` is the session's runtime folder (XDG_RUNTIME_DIR, empty when unset);
// `temporaryFolder` is where the fallback is made (the temporary folder, /tmp or TMPDIR).
RuntimeFolder privateRuntimeFolder(const QString &sessionFolder, const QString &temporaryFolder);
