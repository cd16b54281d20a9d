#pragma once

#include <QStringList>

#include "core/windowcommands.h"

// Records the window commands the player asked for.
class FakeWindow : public WindowCommands
{
public:
    void FullScr() override { calls << QStringLiteral("FullScr"); }
    void OrgScr() override { calls << QStringLiteral("OrgScr"); }
    void SetOntop() override { calls << QStringLiteral("SetOntop"); }
    void UnloadMe() override { calls << QStringLiteral("UnloadMe"); }

    QStringList calls;
};
