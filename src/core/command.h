#pragma once

#include <optional>

#include <QString>

// Everything a user can ask of the player by a key, a menu item, a skin button or the
// desktop's media controls. Each input maps onto these names; Player::run() carries them
// out, handing the ones that belong to the window to it (see WindowCommands). A new command
// is one name here, one case in its handler, and the rows of the inputs that reach it.
enum class Command {
    // The player's own.
    PlaySong,      // the current entry from its start
    PauseSong,     // pause, or resume where the track stood
    StopSong,      // pause and back to the start
    PlayOrResume,  // resume a paused track, else play the current entry
    PauseIfPlaying,
    TogglePlay,    // pause while playing, else PlayOrResume
    NextSong,
    PreviousSong,
    FastForward,
    FastPre,
    VolumeUp,
    VolumeDown,
    MuteSong,
    Stereo,
    LeftChannel,
    RightChannel,
    ToggleLyrics,
    ToggleDesktopLyrics, // shows or hides the desktop lyric window
    LockDesktopLyrics,   // locks the desktop lyric window, or unlocks it when locked
    ToggleLoop,
    ToggleRandom,
    LyricsEarlier, // every lyric line comes 0.5 s earlier
    LyricsLater,   // every lyric line comes 0.5 s later
    DeleteSelected,
    DeleteNotSelected,
    DeleteAll,
    // The window's.
    FullScreen,
    NormalScreen,
    ToggleFullScreen,
    ToggleOnTop,
    Minimize,
    Quit,
    AddSongs,
    SaveList,
    SelectLyric,
    ToggleListPanel,
    CloseListPanel,
};

// Windows virtual-key codes, the key numbers the key table is written in. The window
// translates its key events into them.
enum class VirtualKey {
    Enter = 13,
    Escape = 27,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Delete = 46,
    D = 68,
    M = 77,
    P = 80,
    F4 = 115,
    F12 = 123,
    Plus = 187,  // the plus/equals key of the main keyboard
    Minus = 189, // the minus key of the main keyboard
    BracketLeft = 219,
    BracketRight = 221,
};

// Modifier bits of a key press, added together.
namespace KeyModifier {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace KeyModifier

// The command of a key press, from the key table: Alt alone reaches only the table's Alt
// keys, Ctrl alone only its Ctrl keys; with no modifier, Shift or a combination the plain
// keys apply.
// `modifiers` holds the KeyModifier bits.
std::optional<Command> commandForKey(int keyCode, int modifiers);
// The key that runs `command` as a menu shows it ("P", "→", "Alt+Enter"); "" for a command
// no key runs.
QString keyText(Command command);
