#pragma once

#include <QString>
#include <QStringList>

// The file dialogs of the playlist panel: the open dialog that adds songs and the save
// dialog that writes the list. The platform layer shows real dialogs; tests script answers.
class PlaylistFileDialogs
{
public:
    virtual ~PlaylistFileDialogs() = default;

    // The open dialog, several files at once, filtered to songs and playlists: the chosen
    // files' full paths in the order the dialog gives them, none when the user cancelled.
    virtual QStringList chooseSongFiles() = 0;
    // The save dialog for a playlist: the path as the user gave it (no extension added, no
    // question about replacing a file), "" when the user cancelled.
    virtual QString choosePlaylistTarget() = 0;
};
