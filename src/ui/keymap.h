#pragma once

#include <Qt>

class QKeyEvent;

// The player's key commands are defined over Windows virtual-key codes and the modifier
// bits Shift 1, Ctrl 2, Alt 4; these translate Qt's key events into them.

// The virtual-key code of the key pressed, or 0 for a key the player has no code for.
// The plus/equals and minus keys of the main keyboard (187, 189) are told apart from
// the keypad's (107, 109).
int virtualKeyCode(const QKeyEvent &event);

int modifierBits(Qt::KeyboardModifiers modifiers);
