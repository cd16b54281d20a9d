#pragma once

#include "lyrics/lyricfilechooser.h"

// The open-file dialog for lyric files, showing LRC files only, modal to the active window.
class QtLyricFileChooser : public LyricFileChooser
{
public:
    QString chooseLyricFile() override;
};
