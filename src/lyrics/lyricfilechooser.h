#pragma once

#include <QString>

// Asks the user for a lyric file, as the open-file dialog with the filter for LRC files
// does; the platform layer provides the dialog, tests a scripted answer.
class LyricFileChooser
{
public:
    virtual ~LyricFileChooser() = default;
    // The chosen file's full path, "" when the user cancelled.
    virtual QString chooseLyricFile() = 0;
};
