#include <limits>

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "fakes/settle.h"
#include "support/qtprinters.h"

// The commands that a later start and the desktop's remote control reach the player by:
// songs handed over, a seek to a time and the volume as a fraction. The loaded track's
// identity is seen through the remote control's metadata (tests/platform/test_mpris.cpp).
namespace {

const QString A = QStringLiteral("/m/a.mp3");
const QString B = QStringLiteral("/m/b.wma");
const QString C = QStringLiteral("/m/c.wav");
const QString D = QStringLiteral("/m/d.mp3");

// One player on the scripted backend; every song is 200 s long unless said otherwise.
struct Rig
{
    explicit Rig(double seconds = 200)
    {
        for (const QString &song : {A, B, C, D})
            media.setDuration(song, seconds);
    }
    Transport &transport() { return player.transport(); }
    Playlist &list() { return transport().ListSong(); }
    void open(const QStringList &songs)
    {
        transport().openSongs({songs, songs, {}});
        settle(transport());
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session, window};
};

TEST(RemoteCommandsTest, HandedSongsAreAppendedAndTheFirstOfThemPlays)
{
    // The list (its first plays, unless paused), the songs handed over, one that fails, the
    // track that then plays and the current entry.
    const QList<std::tuple<QStringList, bool, QStringList, QString, QString, int>> cases{
        {{}, false, {A, B}, {}, A, 0},
        {{A, B}, true, {C, D}, {}, C, 2},
        {{A}, false, {B}, {}, B, 1},
        {{A}, false, {C, D}, C, D, 2}, // a first handed song that fails is skipped
        {{A, B}, false, {}, {}, A, 0}, // nothing handed changes nothing
    };
    for (const auto &[songs, paused, handed, failing, track, current] : cases) {
        Rig rig;
        rig.media.failOpen(failing);
        rig.open(songs);
        if (paused)
            rig.transport().PauseSong();
        rig.open(handed);
        const std::string name = (songs + handed).join(u' ').toStdString();
        EXPECT_EQ(rig.list().songs(), songs + handed) << name;
        EXPECT_EQ(rig.list().ListSongInfo(), songs + handed) << name;
        EXPECT_EQ(rig.list().CurrentEntry(), current) << name;
        for (int row = 0; row < rig.list().count(); ++row)
            EXPECT_EQ(rig.list().isHighlighted(row), row == current) << name;
        EXPECT_EQ(rig.media.fileName(), track) << name;
        EXPECT_TRUE(rig.media.isPlaying()) << name;
    }

    // Once the shutdown has begun nothing is taken.
    Rig rig;
    rig.player.stop();
    rig.open({A});
    EXPECT_EQ(rig.list().count(), 0);
    EXPECT_TRUE(rig.media.log.filter("open").isEmpty());
}

TEST(RemoteCommandsTest, SeekToATimeGoesThroughTheKnob)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Track length, the time asked for, where the seek goes (negative: nowhere).
    const QList<std::tuple<double, double, double>> cases{
        {200, 1.5, 1.5}, {200, 0, 0}, {200, -4, 0}, {200, 900, 200}, {0, 10, -1}, // unknown length
        {200, nan, -1},
    };
    for (const auto &[length, asked, expected] : cases) {
        Rig rig(length);
        rig.open({A});
        rig.transport().PauseSong();
        rig.media.log.clear();
        QSignalSpy seeks(&rig.player.position(), &PlaybackPosition::seeked);
        const Knob &knob = rig.player.position().knob();

        rig.player.position().seekTo(asked);

        const std::string name = QStringLiteral("%1 of %2 s").arg(asked).arg(length).toStdString();
        if (expected < 0) {
            EXPECT_TRUE(rig.media.log.isEmpty()) << name;
            EXPECT_EQ(seeks.count(), 0) << name;
            continue;
        }
        EXPECT_NEAR(rig.media.currentPosition(), expected, 1e-4) << name;
        ASSERT_EQ(seeks.count(), 1) << name;
        EXPECT_NEAR(seeks.at(0).at(0).toDouble(), expected, 1e-4) << name;
        EXPECT_NEAR(knob.left(), knob.leftAt(expected / length), 1e-9) << name;
        // The time shows at once, and a paused player stays paused.
        EXPECT_TRUE(rig.player.position().isTimerMainActive()) << name;
        EXPECT_FALSE(rig.media.isPlaying()) << name;
    }
}

TEST(RemoteCommandsTest, VolumeFractionMovesTheKnobAndReadsBack)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The knob's travel spans -40 … 0 dB, but the quietest volume sent is -30 dB.
    const QList<std::tuple<double, int, double>> cases{
        {1, 0, 1},         {0.5, -2000, 0.5}, {0.75, -1000, 0.75}, {nan, -1000, 0.75},
        {0.1, -3000, 0.1}, {0, -3000, 0},     {1.7, 0, 1},         {-0.3, -3000, 0},
    };
    Rig rig;
    SoundControls &sound = rig.player.sound();
    for (const auto &[fraction, expectedVolume, expectedFraction] : cases) {
        sound.setVolumeFraction(fraction);
        EXPECT_EQ(rig.media.volume(), expectedVolume) << fraction;
        EXPECT_NEAR(sound.volumeFraction(), expectedFraction, 1e-6) << fraction;
    }
    // A saved volume below the travel puts the knob past its end; it reads as the end.
    rig.media.setVolume(-5000);
    sound.ShowVolume();
    EXPECT_EQ(sound.volumeFraction(), 0.0);
}

} // namespace
