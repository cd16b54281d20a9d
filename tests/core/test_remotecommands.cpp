#include <cmath>
#include <limits>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "support/qtprinters.h"

// The commands that a later start and the desktop's remote control reach the player by:
// songs handed over, a seek to a time, the volume as a fraction, and the track's identity.
namespace {

const QString SongA = QStringLiteral("/m/a.mp3");
const QString SongB = QStringLiteral("/m/b.wma");
const QString SongC = QStringLiteral("/m/c.wav");
const QString SongD = QStringLiteral("/m/d.mp3");

// One player on the scripted backend, with the four songs 200 s long.
struct Rig
{
    Rig()
    {
        for (const QString &song : {SongA, SongB, SongC, SongD})
            media.setDuration(song, 200);
        player.sound().ShowVolume();
    }

    Transport &transport() { return player.transport(); }
    Playlist &list() { return transport().ListSong(); }
    void settle()
    {
        const QDeadlineTimer deadline(5000);
        while (transport().isBusy() && !deadline.hasExpired()) {
            QCoreApplication::sendPostedEvents();
            QThread::yieldCurrentThread();
        }
    }
    QList<int> highlighted()
    {
        QList<int> rows;
        for (int row = 0; row < list().count(); ++row) {
            if (list().isHighlighted(row))
                rows.append(row);
        }
        return rows;
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session, window};
};

class RemoteCommandsTest : public testing::Test, protected Rig
{
};

TEST_F(RemoteCommandsTest, HandedSongsAreAppendedAndTheFirstOfThemPlays)
{
    struct Case
    {
        const char *name;
        QStringList list;
        bool playing;
        QStringList handed;
        QStringList failing;
        QStringList expectedList;
        QString expectedTrack;
        int expectedCurrent;
    };
    const QList<Case> cases{
        {"into an empty list", {}, false, {SongA, SongB}, {}, {SongA, SongB}, SongA, 0},
        {"behind a paused list",
         {SongA, SongB},
         false,
         {SongC, SongD},
         {},
         {SongA, SongB, SongC, SongD},
         SongC,
         2},
        {"replacing the song playing", {SongA}, true, {SongB}, {}, {SongA, SongB}, SongB, 1},
        {"a first handed song that fails is skipped",
         {SongA},
         true,
         {SongC, SongD},
         {SongC},
         {SongA, SongC, SongD},
         SongD,
         2},
        {"nothing handed changes nothing", {SongA, SongB}, true, {}, {}, {SongA, SongB}, SongA, 0},
    };
    for (const Case &c : cases) {
        Rig fresh;
        for (const QString &path : c.failing)
            fresh.media.failOpen(path);
        fresh.list().append(c.list);
        if (!c.list.isEmpty()) {
            fresh.list().setCurrentEntry(0);
            fresh.list().setHighlighted(0, true);
            if (c.playing)
                fresh.transport().PlaySong();
            fresh.settle();
        }

        fresh.transport().openSongs({c.handed, c.handed, {}});
        fresh.settle();

        EXPECT_EQ(fresh.list().songs(), c.expectedList) << c.name;
        EXPECT_EQ(fresh.list().CurrentEntry(), c.expectedCurrent) << c.name;
        EXPECT_EQ(fresh.highlighted(), QList<int>{c.expectedCurrent}) << c.name;
        EXPECT_EQ(fresh.media.fileName(), c.expectedTrack) << c.name;
        EXPECT_EQ(fresh.media.isPlaying(), c.playing || !c.handed.isEmpty()) << c.name;
        EXPECT_EQ(fresh.list().ListSongInfo().size(), c.expectedList.size()) << c.name;
    }
}

TEST_F(RemoteCommandsTest, NothingIsTakenOnceTheShutdownBegan)
{
    player.stop();
    transport().openSongs({{SongA}, {SongA}, {}});
    settle();
    EXPECT_EQ(list().count(), 0);
    EXPECT_FALSE(media.log.contains(QStringLiteral("open ") + SongA));
}

TEST_F(RemoteCommandsTest, LoadedTrackChangesWithEachOpenAndEndsWithFailureAndShutdown)
{
    QSignalSpy changes(&transport(), &Transport::trackChanged);
    EXPECT_EQ(transport().loadedTrack(), 0u);
    transport().openSongs({{SongA, SongB}, {}, {}});
    settle();
    const quint64 first = transport().loadedTrack();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(changes.count(), 1);

    // The next track: none while it opens, then its own.
    transport().NextSong();
    EXPECT_EQ(transport().loadedTrack(), 0u);
    settle();
    EXPECT_NE(transport().loadedTrack(), 0u);
    EXPECT_NE(transport().loadedTrack(), first);
    EXPECT_EQ(changes.count(), 3);

    // Pausing and seeking keep the track.
    transport().PauseSong();
    player.position().seekTo(5);
    EXPECT_EQ(changes.count(), 3);

    media.breakTrack();
    EXPECT_EQ(transport().loadedTrack(), 0u);
    EXPECT_EQ(changes.count(), 4);
    player.stop();
    EXPECT_EQ(changes.count(), 4);
}

TEST_F(RemoteCommandsTest, SeekToATimeGoesThroughTheKnob)
{
    struct Case
    {
        const char *name;
        double duration;
        double request;
        // Negative: no seek.
        double expectedSeek;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QList<Case> cases{
        {"a time within the track", 200, 1.5, 1.5},
        {"the start", 200, 0, 0},
        {"before the start goes to the start", 200, -4, 0},
        {"beyond the end goes to the end", 200, 900, 200},
        {"a track of unknown length", 0, 10, -1},
        {"not a number", 200, nan, -1},
    };
    for (const Case &c : cases) {
        Rig fresh;
        fresh.media.setDuration(SongA, c.duration);
        fresh.transport().openSongs({{SongA}, {}, {}});
        fresh.settle();
        fresh.transport().PauseSong();
        fresh.media.log.clear();
        QSignalSpy seeks(&fresh.player.position(), &PlaybackPosition::seeked);
        const Knob &knob = fresh.player.position().knob();

        fresh.player.position().seekTo(c.request);

        if (c.expectedSeek < 0) {
            EXPECT_TRUE(fresh.media.log.filter(QStringLiteral("seek")).isEmpty()) << c.name;
            EXPECT_EQ(seeks.count(), 0) << c.name;
            continue;
        }
        EXPECT_NEAR(fresh.media.currentPosition(), c.expectedSeek, 1e-4) << c.name;
        ASSERT_EQ(seeks.count(), 1) << c.name;
        EXPECT_NEAR(seeks.at(0).at(0).toDouble(), c.expectedSeek, 1e-4) << c.name;
        EXPECT_NEAR(knob.left(), knob.leftAt(c.expectedSeek / c.duration), 1e-9) << c.name;
        // A seek shows the time at once and leaves a paused player paused.
        EXPECT_TRUE(fresh.player.position().isTimerMainActive()) << c.name;
        EXPECT_TRUE(fresh.transport().PausedFlag()) << c.name;
        EXPECT_FALSE(fresh.media.isPlaying()) << c.name;
    }
}

TEST_F(RemoteCommandsTest, TheKeysSeeksAreReportedToo)
{
    transport().openSongs({{SongA}, {}, {}});
    settle();
    QSignalSpy seeks(&player.position(), &PlaybackPosition::seeked);
    player.position().FastForward();
    player.position().FastPre();
    EXPECT_EQ(seeks.count(), 2);
}

TEST_F(RemoteCommandsTest, VolumeFractionMovesTheKnobAndReadsBack)
{
    struct Case
    {
        double fraction;
        int expectedVolume;
        double expectedFraction;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The knob's travel spans -40 … 0 dB, but the quietest volume sent is -30 dB.
    const QList<Case> cases{
        {1, 0, 1},
        {0.5, -2000, 0.5},
        {0.75, -1000, 0.75},
        // Not a number leaves the volume as it was.
        {nan, -1000, 0.75},
        {0.1, -3000, 0.1},
        {0, -3000, 0},
        {1.7, 0, 1},
        {-0.3, -3000, 0},
    };
    for (const Case &c : cases) {
        player.sound().setVolumeFraction(c.fraction);
        EXPECT_EQ(media.volume(), c.expectedVolume) << c.fraction;
        EXPECT_NEAR(player.sound().volumeFraction(), c.expectedFraction, 1e-6) << c.fraction;
    }
}

TEST_F(RemoteCommandsTest, ASavedVolumeBeyondTheTravelReadsAsItsEnd)
{
    media.setVolume(-5000);
    player.sound().ShowVolume();
    EXPECT_EQ(player.sound().volumeFraction(), 0.0);
    media.setVolume(-2000);
    player.sound().ShowVolume();
    EXPECT_NEAR(player.sound().volumeFraction(), 0.5, 1e-6);
}

} // namespace
