#pragma once

#include <QList>

#include "core/windowcommands.h"

// Records the window commands the player handed over.
class FakeWindow : public WindowCommands
{
public:
    void run(Command command) override { commands << command; }
    bool isFullScreenShown() const override { return false; }
    bool isOnTop() const override { return false; }

    QList<Command> commands;
};
