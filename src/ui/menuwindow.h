#pragma once

#include "core/windowcommands.h"

// The main window as the main menu sees it: its commands, its two modes (the check marks
// of "全屏显示" and "总在最前面") and the lyric file chooser.
class MenuWindow : public WindowCommands
{
public:
    virtual bool isFullScreenShown() const = 0;
    virtual bool isOnTop() const = 0;
    // Lets the user add a lyric file of their choice to the current lyrics.
    virtual void OpenLyric() = 0;
};
