#pragma once

class PlaybackPosition;
class SoundControls;
class Transport;
class WindowCommands;

// Windows virtual-key codes, the key numbers the player's key table is written in. The
// window translates its key events into them.
enum class VirtualKey {
    Enter = 13,
    Escape = 27,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Delete = 46,
    M = 77,
    P = 80,
    F4 = 115,
    F12 = 123,
    Plus = 187,  // the plus/equals key of the main keyboard
    Minus = 189, // the minus key of the main keyboard
};

// Modifier bits of a key press, added together.
namespace KeyModifier {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace KeyModifier

// The one dispatcher of key presses: each key of the table runs one command. Alt alone
// reaches only full screen (Enter) and quit (F4), Ctrl alone nothing; with no modifier, Shift
// or a combination the table applies.
class KeyCommands
{
public:
    KeyCommands(Transport &transport, PlaybackPosition &position, SoundControls &sound,
                WindowCommands &window);

    // `shift` holds the KeyModifier bits.
    void HandleKey(int keyCode, int shift);

private:
    Transport &m_transport;
    PlaybackPosition &m_position;
    SoundControls &m_sound;
    WindowCommands &m_window;
};
