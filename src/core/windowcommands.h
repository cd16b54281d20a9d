#pragma once

#include "core/command.h"

// The window as the player sees it: it carries out the commands that belong to the window
// (full screen, always-on-top, the list panel, quitting, the file dialogs) and tells the
// modes the menus show. The main window implements it.
class WindowCommands
{
public:
    virtual ~WindowCommands() = default;

    // One of the window's commands; the player's own never come here.
    virtual void run(Command command) = 0;
    virtual bool isFullScreenShown() const = 0;
    virtual bool isOnTop() const = 0;
};
