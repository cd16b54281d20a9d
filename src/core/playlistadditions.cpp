#include "core/playlistadditions.h"

#include "core/playlist.h"
#include "persist/playlistfile.h"

namespace {

void addSong(Playlist &playlist, const QString &path)
{
    if (path.isEmpty())
        return;
    if (isPlaylistFile(path)) {
        const PlaylistEntries entries = LoadPlaylist(path).value;
        playlist.append(entries.songs, entries.infos);
    } else {
        playlist.append({path});
    }
}

void makeFirstEntryCurrent(Playlist &playlist)
{
    if (playlist.count() > 0)
        playlist.setCurrentEntry(0);
}

} // namespace

bool isPlaylistFile(const QString &path)
{
    return path.right(3).compare(u"m3u", Qt::CaseInsensitive) == 0;
}

void addChosenSongs(Playlist &playlist, const QStringList &paths)
{
    for (const QString &path : paths)
        addSong(playlist, path);
    makeFirstEntryCurrent(playlist);
}

void addDroppedOnList(Playlist &playlist, const QStringList &paths)
{
    for (QString path : paths)
        addSong(playlist, path.remove(QLatin1Char('"')));
    makeFirstEntryCurrent(playlist);
}

void addDroppedOnSkin(Playlist &playlist, const QStringList &paths)
{
    if (!paths.isEmpty() && !paths.first().isEmpty())
        playlist.append({paths.first()});
}
