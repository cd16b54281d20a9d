#include "core/command.h"

#include <algorithm>

namespace {

struct KeyBinding
{
    VirtualKey key;
    // KeyModifier::Alt or KeyModifier::Ctrl: only with that modifier alone; 0: with anything
    // but Alt alone or Ctrl alone.
    int modifiers;
    Command command;
    const char16_t *shownAs;
};

constexpr KeyBinding KeyTable[] = {
    {VirtualKey::Plus, 0, Command::NextSong, u"+"},
    {VirtualKey::Minus, 0, Command::PreviousSong, u"-"},
    {VirtualKey::P, 0, Command::PlaySong, u"P"},
    {VirtualKey::Enter, 0, Command::PauseSong, u"Enter"},
    {VirtualKey::M, 0, Command::MuteSong, u"M"},
    {VirtualKey::Up, 0, Command::VolumeUp, u"↑"},
    {VirtualKey::Down, 0, Command::VolumeDown, u"↓"},
    {VirtualKey::Left, 0, Command::FastPre, u"←"},
    {VirtualKey::Right, 0, Command::FastForward, u"→"},
    {VirtualKey::F12, 0, Command::ToggleOnTop, u"F12"},
    {VirtualKey::BracketLeft, 0, Command::LyricsEarlier, u"["},
    {VirtualKey::BracketRight, 0, Command::LyricsLater, u"]"},
    {VirtualKey::Escape, 0, Command::NormalScreen, u"Esc"},
    {VirtualKey::Enter, KeyModifier::Alt, Command::FullScreen, u"Alt+Enter"},
    {VirtualKey::F4, KeyModifier::Alt, Command::Quit, u"Alt+F4"},
    {VirtualKey::D, KeyModifier::Ctrl, Command::ToggleDesktopLyrics, u"Ctrl+D"},
};

} // namespace

std::optional<Command> commandForKey(int keyCode, int modifiers)
{
    const int alone =
        modifiers == KeyModifier::Alt || modifiers == KeyModifier::Ctrl ? modifiers : 0;
    const auto *binding =
        std::find_if(std::begin(KeyTable), std::end(KeyTable), [&](const KeyBinding &row) {
            return int(row.key) == keyCode && row.modifiers == alone;
        });
    if (binding == std::end(KeyTable))
        return std::nullopt;
    return binding->command;
}

QString keyText(Command command)
{
    const auto *binding =
        std::find_if(std::begin(KeyTable), std::end(KeyTable),
                     [command](const KeyBinding &row) { return row.command == command; });
    return binding == std::end(KeyTable) ? QString() : QString::fromUtf16(binding->shownAs);
}
