#include "core/command.h"

#include <algorithm>

namespace {

struct KeyBinding
{
    VirtualKey key;
    bool altOnly; // only with Alt alone; otherwise with anything but Alt alone or Ctrl alone
    Command command;
    const char16_t *shownAs;
};

constexpr KeyBinding KeyTable[] = {
    {VirtualKey::Plus, false, Command::NextSong, u"+"},
    {VirtualKey::Minus, false, Command::PreviousSong, u"-"},
    {VirtualKey::P, false, Command::PlaySong, u"P"},
    {VirtualKey::Enter, false, Command::PauseSong, u"Enter"},
    {VirtualKey::M, false, Command::MuteSong, u"M"},
    {VirtualKey::Up, false, Command::VolumeUp, u"↑"},
    {VirtualKey::Down, false, Command::VolumeDown, u"↓"},
    {VirtualKey::Left, false, Command::FastPre, u"←"},
    {VirtualKey::Right, false, Command::FastForward, u"→"},
    {VirtualKey::F12, false, Command::ToggleOnTop, u"F12"},
    {VirtualKey::BracketLeft, false, Command::LyricsEarlier, u"["},
    {VirtualKey::BracketRight, false, Command::LyricsLater, u"]"},
    {VirtualKey::Escape, false, Command::NormalScreen, u"Esc"},
    {VirtualKey::Enter, true, Command::FullScreen, u"Alt+Enter"},
    {VirtualKey::F4, true, Command::Quit, u"Alt+F4"},
};

} // namespace

std::optional<Command> commandForKey(int keyCode, int modifiers)
{
    if (modifiers == KeyModifier::Ctrl)
        return std::nullopt;
    const bool altOnly = modifiers == KeyModifier::Alt;
    const auto *binding = std::find_if(std::begin(KeyTable), std::end(KeyTable),
                                       [&](const KeyBinding &row) {
                                           return int(row.key) == keyCode && row.altOnly == altOnly;
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
