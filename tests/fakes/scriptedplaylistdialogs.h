#pragma once

#include <QStringList>

#include "dialogs/playlistfiledialogs.h"

// Answers the playlist panel's dialogs as the test sets them and records what was asked.
class ScriptedPlaylistDialogs : public PlaylistFileDialogs
{
public:
    QStringList chooseSongFiles() override
    {
        asked << QStringLiteral("open");
        return chosenFiles;
    }
    QString choosePlaylistTarget() override
    {
        asked << QStringLiteral("save");
        return saveTarget;
    }

    // What the open dialog returns (empty: cancelled) and the save dialog's answer.
    QStringList chosenFiles;
    QString saveTarget;
    QStringList asked;
};
