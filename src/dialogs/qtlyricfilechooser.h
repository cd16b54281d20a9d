#pragma once

#include "lyrics/lyricfilechooser.h"

class QWidget;

// The open-file dialog for lyric files, showing LRC files only.
class QtLyricFileChooser : public LyricFileChooser
{
public:
    // The dialog is modal to `parent`, which must outlive the chooser; without one, to the
    // active window.
    explicit QtLyricFileChooser(QWidget *parent = nullptr) : m_parent(parent) {}

    QString chooseLyricFile() override;

private:
    QWidget *m_parent = nullptr;
};
