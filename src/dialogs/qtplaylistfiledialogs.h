#pragma once

#include "dialogs/playlistfiledialogs.h"

class QWidget;

// The playlist panel's dialogs as Qt file dialogs, modal to a window.
class QtPlaylistFileDialogs : public PlaylistFileDialogs
{
public:
    // The dialogs are modal to `parent`, which must outlive this object; until one is set,
    // to the active window.
    void setParent(QWidget *parent) { m_parent = parent; }

    QStringList chooseSongFiles() override;
    QString choosePlaylistTarget() override;

private:
    QWidget *parentWindow() const;

    QWidget *m_parent = nullptr;
};
