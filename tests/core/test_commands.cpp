#include <optional>

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/command.h"
#include "fakes/playerrig.h"
#include "support/qtprinters.h"

namespace {

using Rig = PlayerRig;

// Alt alone reaches only full screen and quitting, Ctrl alone only the desktop lyrics; Shift
// and every combination reach the plain keys. Alt+Enter is the main window's key test, the plain
// keys' commands are the key table itself.
TEST(CommandTest, KeysFollowTheirModifierRules)
{
    using K = VirtualKey;
    using namespace KeyModifier;
    // The key, the modifiers and the command they reach.
    // clang-format off
    const std::tuple<VirtualKey, int, std::optional<Command>> rows[] = {
        {K::P, Shift, Command::PlaySong},           {K::P, Ctrl, std::nullopt},
        {K::P, Alt, std::nullopt},                  {K::Enter, Alt + Shift, Command::PauseSong},
        {K::F4, Alt, Command::Quit},                {K::F4, 0, std::nullopt},
        {K::D, Ctrl, Command::ToggleDesktopLyrics}, {K::D, 0, std::nullopt},
        {K::D, Ctrl + Shift, std::nullopt},
    };
    // clang-format on
    for (const auto &[key, modifiers, command] : rows)
        EXPECT_EQ(commandForKey(int(key), modifiers), command) << int(key) << " with " << modifiers;
    EXPECT_EQ(keyText(Command::ToggleLoop), "") << "a command without a key shows none";
}

// Each command reaches the part that carries it out: the player's own the backend, the
// window's the window, in the player's state of songs a and b loaded, a playing. The commands
// that menus, keys and buttons run are checked there too (tests/ui), fast forward with the
// position knob (test_player.cpp).
TEST(CommandTest, EachCommandReachesItsPart)
{
    // The command and its effect: the last backend call or "window" for the window's command;
    // "-" for none.
    // clang-format off
    const std::pair<Command, const char *> rows[] = {
        {Command::PauseIfPlaying, "pause"},     {Command::PauseIfPlaying, "-"},
        {Command::TogglePlay, "play"},          {Command::PlayOrResume, "-"},
        {Command::TogglePlay, "pause"},         {Command::PlayOrResume, "play"},
        {Command::StopSong, "seek 0"},          {Command::PlayOrResume, "play"},
        {Command::LeftChannel, "balance -5000"}, {Command::Quit, "window"},
    };
    // clang-format on
    Rig rig;
    rig.open(Rig::songs("ab"));
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
}

// The commands that a later start and the desktop's remote control reach the player by:
// songs handed over and a seek to a time; the volume as a fraction is tested with the other
// volume controls (test_player.cpp). The loaded track's identity is seen through the remote
// control's metadata (tests/platform/test_mpris.cpp). The highlight goes with the current
// entry as on next and previous (test_player.cpp).
TEST(RemoteCommandsTest, HandedSongsAreAppendedAndTheFirstOfThemPlays)
{
    // The list, whose first plays unless paused; the songs handed (x never opens); the entry
    // that then plays.
    const std::tuple<const char *, bool, const char *, int> cases[] = {
        {"ab", true, "cd", 2},
        {"a", false, "xd", 2}, // a first handed song that fails is skipped
        {"ab", false, "", 0},  // nothing handed changes nothing
    };
    for (const auto &[before, paused, handed, current] : cases) {
        Rig rig;
        rig.open(Rig::songs(before));
        if (paused)
            rig.transport().PauseSong();
        rig.open(Rig::songs(handed));
        const QStringList all = Rig::songs(before) + Rig::songs(handed);
        SCOPED_TRACE(all.join(u' ').toStdString());
        EXPECT_EQ(rig.list().songs(), all);
        EXPECT_EQ(rig.list().CurrentEntry(), current);
        EXPECT_EQ(rig.media.fileName(), all.at(current));
        EXPECT_TRUE(rig.media.isPlaying());
    }
}

// The time shows at once and a paused player stays paused; a click on the band and a released
// drag of the knob seek through the knob the same way.
TEST(RemoteCommandsTest, SeekToATimeGoesThroughTheKnob)
{
    // Track length, the time asked for, where the seek goes (negative: nowhere).
    const struct Row
    {
        double length, asked, expected;
    } rows[] = {{0, 10, -1}, {200, qQNaN(), -1}, {200, 1.5, 1.5}, {200, -4, 0}, {200, 900, 200}};
    Rig rig;
    rig.open({Rig::song('a')});
    rig.transport().PauseSong();
    QSignalSpy seeks(&rig.position(), &PlaybackPosition::seeked);
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 of %2 s").arg(row.asked).arg(row.length).toStdString());
        rig.media.changeDuration(row.length);
        rig.media.log.clear();
        seeks.clear();
        rig.position().seekTo(row.asked);
        EXPECT_EQ(rig.media.log.size(), row.expected < 0 ? 0 : 1);
        EXPECT_EQ(seeks.count(), row.expected < 0 ? 0 : 1);
        EXPECT_EQ(rig.position().isTimerMainActive(), row.expected >= 0);
        EXPECT_NEAR(rig.media.currentPosition(), std::max(row.expected, 0.0), 1e-4);
        EXPECT_NEAR(seeks.value(0).value(0).toDouble(), std::max(row.expected, 0.0), 1e-4);
    }
    EXPECT_FALSE(rig.media.isPlaying());
}

} // namespace
