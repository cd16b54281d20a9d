#pragma once

#include <QStringList>

#include "dialogs/playlistfiledialogs.h"

// Answers the playlist panel's dialogs as the test sets them and records what was asked: the
// open dialog is always cancelled, the save dialog answers `saveTarget`.
class ScriptedPlaylistDialogs : public PlaylistFileDialogs
{
public:
    QStringList chooseSongFiles() override { return asked << "open", QStringList(); }
    QString choosePlaylistTarget() override { return asked << QStringLiteral("save"), saveTarget; }

    QString saveTarget;
    QStringList asked;
};
