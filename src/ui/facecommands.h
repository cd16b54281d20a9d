#pragma once

class FmMain;

// Connects the controls and panels of the window's two faces to the commands they run: the
// skin buttons and toggles, the knobs, the track clicks, the keys, the drops, the drag strips
// and every click that opens a menu. Only the wiring lives here; the commands are the
// player's and the window's.
void connectFaceCommands(FmMain &window);
