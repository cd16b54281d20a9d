#pragma once

#include <QString>
#include <QStringList>

class Playlist;

// How songs come into the playlist from the open-files dialog and from files dropped on the
// main window, given the paths the dialog returned or the drop carried. A playlist file among
// them is read and its entries appended in its place; one that cannot be read adds nothing
// and the rest are still added. Nothing here shows a message.

// Whether `path` names a playlist file: its last three characters are "m3u" in any case, so
// "list.M3U" is one and "list.m3u8" is not.
bool isPlaylistFile(const QString &path);

// AddSongFiles with the files chosen in the open dialog, in the order it returned them
// (empty when the user cancelled). Afterwards the list's first entry is the current entry,
// also after a cancel, unless the list is empty.
void addChosenSongs(Playlist &playlist, const QStringList &paths);

// Files dropped on the list: every double quote is taken out of each path, then they are
// added as addChosenSongs adds them, the list's first entry becoming the current one.
void addDroppedOnList(Playlist &playlist, const QStringList &paths);

// Files dropped on the skin: the first path alone is appended exactly as it came, playlist
// or not; the current entry stays where it was.
void addDroppedOnSkin(Playlist &playlist, const QStringList &paths);
