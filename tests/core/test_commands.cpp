#include <optional>

#include <gtest/gtest.h>

#include "core/command.h"
#include "fakes/playerrig.h"
#include "support/qtprinters.h"

namespace {

// Alt alone reaches only full screen and quitting, Ctrl alone nothing; Shift and every
// combination reach the plain keys.
TEST(CommandTest, KeysFollowTheirModifierRules)
{
    struct Row
    {
        VirtualKey key;
        int modifiers;
        std::optional<Command> command;
    };
    using K = VirtualKey;
    using namespace KeyModifier;
    const Row rows[] = {
        {K::P, 0, Command::PlaySong},
        {K::P, Shift, Command::PlaySong},
        {K::P, Ctrl, std::nullopt},
        {K::P, Alt, std::nullopt},
        {K::Enter, 0, Command::PauseSong},
        {K::Enter, Alt + Shift, Command::PauseSong},
        {K::Enter, Alt, Command::FullScreen},
        {K::F4, Alt, Command::Quit},
        {K::F4, 0, std::nullopt},
        {K::Minus, Shift + Ctrl, Command::PreviousSong},
        {K::Left, Ctrl + Alt, Command::FastPre},
    };
    for (const Row &row : rows)
        EXPECT_EQ(commandForKey(int(row.key), row.modifiers), row.command)
            << int(row.key) << " with " << row.modifiers;
    EXPECT_EQ(keyText(Command::FullScreen), "Alt+Enter");
    EXPECT_EQ(keyText(Command::ToggleLoop), "");
}

// Each command reaches the part that carries it out: the player's own the backend, the
// window's the window, in the player's state of songs a and b loaded, a playing.
TEST(CommandTest, EachCommandReachesItsPart)
{
    struct Row
    {
        Command command;
        const char *effect; // the last backend call or the window's command; "-" for none
    };
    const Row rows[] = {
        {Command::PauseSong, "pause"},      {Command::PauseIfPlaying, "-"},
        {Command::TogglePlay, "play"},      {Command::PlayOrResume, "-"},
        {Command::TogglePlay, "pause"},     {Command::PlayOrResume, "play"},
        {Command::StopSong, "seek 0"},      {Command::PlaySong, "play"},
        {Command::NextSong, "play"},        {Command::MuteSong, "mute 1"},
        {Command::VolumeDown, "volume -160"}, {Command::LeftChannel, "balance -5000"},
        {Command::FastForward, "seek 4.58716"}, {Command::FullScreen, "window"},
        {Command::Quit, "window"},          {Command::DeleteAll, "-"},
    };
    PlayerRig rig;
    rig.open(PlayerRig::songs("ab"));
    for (const Row &row : rows) {
        rig.media.log.clear();
        rig.window.commands.clear();
        rig.player.run(row.command);
        settle(rig.transport());
        const QString effect = !rig.window.commands.isEmpty() ? QStringLiteral("window")
                               : rig.media.log.isEmpty()      ? QStringLiteral("-")
                                                              : rig.media.log.last();
        EXPECT_EQ(effect, row.effect) << int(row.command);
    }
    EXPECT_EQ(rig.list().count(), 0);
}

} // namespace
