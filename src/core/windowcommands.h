#pragma once

// The commands of the main window that the keys reach but that belong to the window
// itself, not to the player. The window implements them.
class WindowCommands
{
public:
    virtual ~WindowCommands() = default;

    // Switches to the full-screen window.
    virtual void FullScr() = 0;
    // Back from full screen to the normal window (also when not in full screen).
    virtual void OrgScr() = 0;
    // Toggles always-on-top.
    virtual void SetOntop() = 0;
    // The orderly shutdown: saves what must survive, then closes every window.
    virtual void UnloadMe() = 0;
};
