#pragma once

#include <QStringList>

#include "dialogs/playlistfiledialogs.h"

// Answers the playlist panel's dialogs as the test sets them and records what was asked.
class ScriptedPlaylistDialogs : public PlaylistFileDialogs
{
public:
    QStringList chooseSongFiles() override { return asked << QStringLiteral("open"), chosenFiles; }
    QString choosePlaylistTarget() override { return asked << QStringLiteral("save"), saveTarget; }

    // What the open dialog returns (empty: cancelled) and the save dialog's answer.
    QStringList chosenFiles;
    QString saveTarget;
    QStringList asked;
};
