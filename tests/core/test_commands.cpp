#include <optional>

#include <gtest/gtest.h>

#include "core/command.h"
#include "fakes/playerrig.h"
#include "support/qtprinters.h"

namespace {

// Alt alone reaches only full screen and quitting, Ctrl alone only the desktop lyrics; Shift
// and every combination reach the plain keys.
TEST(CommandTest, KeysFollowTheirModifierRules)
{
    using K = VirtualKey;
    using namespace KeyModifier;
    // The key, the modifiers and the command they reach.
    // clang-format off
    const std::tuple<VirtualKey, int, std::optional<Command>> rows[] = {
        {K::P, 0, Command::PlaySong},               {K::P, Shift, Command::PlaySong},
        {K::P, Ctrl, std::nullopt},                 {K::P, Alt, std::nullopt},
        {K::Enter, 0, Command::PauseSong},          {K::Enter, Alt + Shift, Command::PauseSong},
        {K::Enter, Alt, Command::FullScreen},       {K::F4, Alt, Command::Quit},
        {K::F4, 0, std::nullopt},                   {K::Minus, Shift + Ctrl, Command::PreviousSong},
        {K::Left, Ctrl + Alt, Command::FastPre},    {K::D, Ctrl, Command::ToggleDesktopLyrics},
        {K::D, 0, std::nullopt},                    {K::D, Ctrl + Shift, std::nullopt},
    };
    // clang-format on
    for (const auto &[key, modifiers, command] : rows)
        EXPECT_EQ(commandForKey(int(key), modifiers), command) << int(key) << " with " << modifiers;
    EXPECT_EQ(keyText(Command::ToggleLoop), "") << "a command without a key shows none";
}

// Each command reaches the part that carries it out: the player's own the backend, the
// window's the window, in the player's state of songs a and b loaded, a playing.
TEST(CommandTest, EachCommandReachesItsPart)
{
    // The command and its effect: the last backend call or "window" for the window's command;
    // "-" for none.
    // clang-format off
    const std::pair<Command, const char *> rows[] = {
        {Command::PauseSong, "pause"},          {Command::PauseIfPlaying, "-"},
        {Command::TogglePlay, "play"},          {Command::PlayOrResume, "-"},
        {Command::TogglePlay, "pause"},         {Command::PlayOrResume, "play"},
        {Command::StopSong, "seek 0"},          {Command::PlaySong, "play"},
        {Command::NextSong, "play"},            {Command::MuteSong, "mute 1"},
        {Command::VolumeDown, "volume -160"},   {Command::LeftChannel, "balance -5000"},
        {Command::FastForward, "seek 4.58716"}, {Command::FullScreen, "window"},
        {Command::Quit, "window"},              {Command::DeleteAll, "-"},
    };
    // clang-format on
    PlayerRig rig;
    rig.open(PlayerRig::songs("ab"));
    for (const auto &[command, expected] : rows) {
        rig.media.log.clear();
        rig.window.commands.clear();
        rig.player.run(command);
        settle(rig.transport());
        const QString effect = !rig.window.commands.isEmpty() ? QStringLiteral("window")
                               : rig.media.log.isEmpty()      ? QStringLiteral("-")
                                                              : rig.media.log.last();
        EXPECT_EQ(effect, expected) << int(command);
    }
    EXPECT_EQ(rig.list().count(), 0);
}

} // namespace
