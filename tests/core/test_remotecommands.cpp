#include <QSignalSpy>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "support/qtprinters.h"

// The commands that a later start and the desktop's remote control reach the player by:
// songs handed over and a seek to a time; the volume as a fraction is tested with the other
// volume controls (test_player.cpp). The loaded track's identity is seen through the remote
// control's metadata (tests/platform/test_mpris.cpp).
namespace {

using Rig = PlayerRig;

TEST(RemoteCommandsTest, HandedSongsAreAppendedAndTheFirstOfThemPlays)
{
    // The list, whose first plays unless paused; the songs handed (x never opens); the entry
    // that then plays.
    const std::tuple<const char *, bool, const char *, int> cases[] = {
        {"", false, "ab", 0},
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
        EXPECT_EQ(rig.list().ListSongInfo(), all);
        EXPECT_EQ(rig.list().CurrentEntry(), current);
        for (int row = 0; row < rig.list().count(); ++row)
            EXPECT_EQ(rig.list().isHighlighted(row), row == current);
        EXPECT_EQ(rig.media.fileName(), all.at(current));
        EXPECT_TRUE(rig.media.isPlaying());
    }
}

TEST(RemoteCommandsTest, SeekToATimeGoesThroughTheKnob)
{
    // Track length, the time asked for, where the seek goes (negative: nowhere).
    const QList<std::tuple<double, double, double>> cases{
        {200, 1.5, 1.5}, {200, -4, 0}, {200, 900, 200}, {0, 10, -1}, {200, qQNaN(), -1},
    };
    for (const auto &[length, asked, expected] : cases) {
        SCOPED_TRACE(QStringLiteral("%1 of %2 s").arg(asked).arg(length).toStdString());
        Rig rig;
        rig.media.setDuration(Rig::song('a'), length);
        rig.open({Rig::song('a')});
        rig.transport().PauseSong();
        rig.media.log.clear();
        QSignalSpy seeks(&rig.position(), &PlaybackPosition::seeked);
        rig.position().seekTo(asked);
        if (expected < 0) {
            EXPECT_TRUE(rig.media.log.isEmpty());
            EXPECT_EQ(seeks.count(), 0);
            continue;
        }
        EXPECT_NEAR(rig.media.currentPosition(), expected, 1e-4);
        ASSERT_EQ(seeks.count(), 1);
        EXPECT_NEAR(seeks.at(0).at(0).toDouble(), expected, 1e-4);
        // The time shows at once, and a paused player stays paused; a click on the band and a
        // released drag of the knob seek through the knob the same way.
        EXPECT_TRUE(rig.position().isTimerMainActive());
        EXPECT_FALSE(rig.media.isPlaying());
    }
}

} // namespace
