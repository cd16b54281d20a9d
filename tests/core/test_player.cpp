#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/player.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "support/qtprinters.h"

namespace {

const QString SongA = QStringLiteral("/m/a.mp3");
const QString SongB = QStringLiteral("/m/b.wma");
const QString SongC = QStringLiteral("/m/c.wav");

class PlayerTest : public testing::Test
{
protected:
    PlayerTest()
    {
        player.InitPlayerState();
        player.ShowVolume();
        for (const QString &song : {SongA, SongB, SongC})
            media.setDuration(song, 200);
    }

    void loadList(const QStringList &songs, int current = 0)
    {
        player.ListSong().append(songs);
        player.ListSong().setCurrentEntry(current);
        player.ListSong().setHighlighted(current, true);
    }

    QStringList opened() const { return media.log.filter(QStringLiteral("open ")); }
    QString current() const { return player.ListSong().song(player.ListSong().CurrentEntry()); }
    bool playing() const { return player.PlayingFlag() && !player.PausedFlag(); }
    bool paused() const { return player.PausedFlag() && !player.PlayingFlag(); }
    bool stopped() const { return !player.PausedFlag() && !player.PlayingFlag(); }

    FakeMediaControl media;
    FakeWindow window;
    Player player{media, window};
};

TEST_F(PlayerTest, StartsPausedAndAnEmptyListDoesNothing)
{
    EXPECT_TRUE(paused());
    EXPECT_TRUE(player.LoopMode());
    EXPECT_FALSE(player.RandomMode());
    EXPECT_EQ(player.limits().PosSliderBottom, 82);
    player.PauseSong(); // nothing loaded: no resume
    player.PlaySong();
    player.NextSong();
    player.PreviousSong();
    EXPECT_TRUE(paused());
    EXPECT_TRUE(media.log.isEmpty());
    EXPECT_EQ(player.ListSong().CurrentEntry(), -1);
}

TEST_F(PlayerTest, PlayShowsTheSongAndStartsTheTimer)
{
    media.setTags(SongA, QStringLiteral("歌手"), QStringLiteral("歌名"));
    media.setDuration(SongA, 200.5);
    loadList({SongA, SongB});
    player.PlaySong();
    EXPECT_TRUE(playing());
    EXPECT_TRUE(player.isTimerMainActive());
    EXPECT_EQ(player.SongSeconds(), 200); // halves go to the even neighbour
    EXPECT_EQ(player.positionKnobLeft(), 17);
    EXPECT_EQ(player.labelText(Player::Label::LInfo), "歌手 - 歌名");
    EXPECT_EQ(player.labelText(Player::Label::LTxtMax), "歌手 - 歌名");
    EXPECT_EQ(player.labelText(Player::Label::LTxtMin), "");
    EXPECT_EQ(media.log, (QStringList{"open /m/a.mp3", "play"}));

    player.NextSong();
    EXPECT_EQ(player.labelText(Player::Label::LInfo), " - ") << "a track without tags";
    EXPECT_EQ(current(), SongB);
}

TEST_F(PlayerTest, PauseStopAndResumeFollowTheStateTable)
{
    loadList({SongA, SongB});
    player.PlaySong();
    media.setPosition(42);

    player.PauseSong();
    EXPECT_TRUE(paused());
    EXPECT_FALSE(player.isTimerMainActive());
    player.PauseSong();
    EXPECT_TRUE(playing());
    EXPECT_DOUBLE_EQ(media.currentPosition(), 42) << "resume keeps the position";

    player.StopSong();
    EXPECT_TRUE(stopped());
    EXPECT_FALSE(player.isTimerMainActive());
    EXPECT_DOUBLE_EQ(media.currentPosition(), 0);
    player.PauseSong(); // stopped -> paused at 0
    EXPECT_TRUE(paused());
    player.StopSong(); // paused stays paused
    EXPECT_TRUE(paused());
    player.PauseSong();
    EXPECT_TRUE(playing());
    EXPECT_TRUE(media.isPlaying());

    media.log.clear();
    player.PauseSong();
    player.PlaySong(); // P while paused restarts the current entry from its start
    EXPECT_EQ(media.log, (QStringList{"pause", "open /m/a.mp3", "play"}));
}

TEST_F(PlayerTest, NextAndPreviousWrapAndCarryTheHighlight)
{
    loadList({SongA, SongB, SongC}, 2);
    player.NextSong();
    EXPECT_EQ(player.ListSong().CurrentEntry(), 0);
    EXPECT_TRUE(player.ListSong().isHighlighted(0));
    EXPECT_FALSE(player.ListSong().isHighlighted(2));
    player.PreviousSong();
    EXPECT_EQ(player.ListSong().CurrentEntry(), 2);
    player.PreviousSong();
    EXPECT_EQ(player.ListSong().CurrentEntry(), 1);
    EXPECT_TRUE(opened().isEmpty()) << "while paused only the highlight moves";

    player.ListSong().setCurrentEntry(-1);
    player.NextSong();
    EXPECT_EQ(player.ListSong().CurrentEntry(), 0) << "no current entry: the first";
    player.ListSong().setCurrentEntry(-1);
    player.PreviousSong();
    EXPECT_EQ(player.ListSong().CurrentEntry(), 2) << "no current entry: the last";
}

TEST_F(PlayerTest, NextWhilePausedKeepsTheOldTrackForResume)
{
    loadList({SongA, SongB});
    player.PlaySong();
    player.PauseSong();
    player.NextSong();
    EXPECT_EQ(current(), SongB);
    EXPECT_EQ(media.fileName(), SongA);
    player.PauseSong();
    EXPECT_TRUE(playing());
    EXPECT_EQ(media.fileName(), SongA) << "Enter resumes the loaded track";
    player.PauseSong();
    player.PlaySong();
    EXPECT_EQ(media.fileName(), SongB) << "P starts the highlighted entry";
}

TEST_F(PlayerTest, EndOfTrackPlaysOnAndRepeatsTheList)
{
    loadList({SongA, SongB});
    player.PlaySong();
    media.finishTrack();
    media.finishTrack();
    media.finishTrack();
    EXPECT_EQ(opened(),
              (QStringList{"open /m/a.mp3", "open /m/b.wma", "open /m/a.mp3", "open /m/b.wma"}));
    EXPECT_TRUE(playing());
}

TEST_F(PlayerTest, OneEntryListReplaysItself)
{
    loadList({SongA});
    player.PlaySong();
    media.setPosition(100);
    player.NextSong();
    player.PreviousSong();
    media.finishTrack();
    EXPECT_EQ(opened().size(), 4);
    EXPECT_EQ(player.ListSong().CurrentEntry(), 0);
    EXPECT_DOUBLE_EQ(media.currentPosition(), 0);
}

TEST_F(PlayerTest, BrokenTracksAreSkippedWhilePlayingForOnePassAtMost)
{
    media.failOpen(SongB);
    loadList({SongA, SongB, SongC});
    player.PlaySong();
    media.finishTrack();
    EXPECT_EQ(media.fileName(), SongC);
    EXPECT_TRUE(playing());

    media.failOpen(SongA);
    media.failOpen(SongC);
    media.log.clear();
    media.finishTrack(); // C ends; A, B and C fail in turn
    EXPECT_EQ(opened().size(), 3);
    EXPECT_TRUE(stopped());
    EXPECT_FALSE(player.isTimerMainActive());
}

TEST_F(PlayerTest, BrokenTrackWhilePausedOnlyMovesTheHighlight)
{
    media.failOpen(SongA);
    loadList({SongA, SongB});
    player.PlaySong(); // from the start-up state, paused
    EXPECT_EQ(opened(), QStringList{"open /m/a.mp3"});
    EXPECT_EQ(player.ListSong().CurrentEntry(), 1);
    EXPECT_TRUE(paused());
}

TEST_F(PlayerTest, DeleteRemovesTheHighlightedEntries)
{
    const QStringList songs{"/0", "/1", "/2", "/3", "/4", "/5"};
    loadList(songs, 0);
    player.ListSong().setHighlighted(0, false);
    for (int row : {1, 2, 4})
        player.ListSong().setHighlighted(row, true);
    player.DelSelectedSong();
    EXPECT_EQ(player.ListSong().songs(), (QStringList{"/0", "/3", "/5"}));
    EXPECT_EQ(player.ListSong().ListSongInfo().size(), 6) << "the info list is not trimmed";
    player.DelSelectedSong();
    EXPECT_EQ(player.ListSong().count(), 3);
}

TEST(ShowTimeTest, RoundsHalvesToEvenAndWidensMinutes)
{
    FakeMediaControl media;
    FakeWindow window;
    Player player(media, window);
    const QList<std::pair<float, const char *>> cases{
        {0, "00:00"},     {0.5f, "00:00"},    {2.5f, "00:02"}, {59.5f, "01:00"},
        {75.4f, "01:15"}, {3599.4f, "59:59"}, {6000, "100:00"}};
    for (const auto &[seconds, text] : cases) {
        player.ShowTime(seconds);
        EXPECT_EQ(player.labelText(Player::Label::LTime), text) << seconds;
    }
}

TEST_F(PlayerTest, TimerTickMovesTheKnobForwardOnly)
{
    media.setDuration(SongA, 218);
    media.setDuration(SongB, 0);
    loadList({SongA, SongB});
    player.PlaySong();
    media.setPosition(1); // one pixel: ignored
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 17);
    media.setPosition(100);
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 117);
    EXPECT_EQ(player.labelText(Player::Label::LTime), "01:40");
    media.setPosition(50); // the tick never moves the knob back
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 117);
    EXPECT_EQ(player.labelText(Player::Label::LTime), "00:50");

    player.NextSong(); // a track of unknown length leaves the knob at its start
    media.setPosition(30);
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 17);
    EXPECT_EQ(player.labelText(Player::Label::LTime), "00:30");
}

TEST_F(PlayerTest, SeeksFollowTheKnobWithinTheTrack)
{
    player.clickPanel(200, 80);
    EXPECT_EQ(media.log.last(), "seek 0") << "before any track a seek goes to 0";
    media.setDuration(SongA, 218);
    loadList({SongA});
    player.PlaySong();

    EXPECT_TRUE(player.clickPanel(22, 80)); // grip left of the travel: time 0
    EXPECT_EQ(player.positionKnobLeft(), 8);
    EXPECT_EQ(media.log.last(), "seek 0");
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 17) << "the next tick brings the knob back in";

    player.clickPanel(131, 82); // lower band edge counts
    EXPECT_EQ(media.log.last(), "seek 100");
    EXPECT_FALSE(player.clickPanel(131, 72)) << "the upper band edge does not";

    for (int i = 0; i < 50; ++i)
        player.FastForward();
    EXPECT_EQ(player.positionKnobLeft(), 235);
    EXPECT_EQ(media.log.last(), "seek 218");
    EXPECT_EQ(player.labelText(Player::Label::LTime), "03:38");
    for (int i = 0; i < 50; ++i)
        player.FastPre();
    EXPECT_EQ(player.positionKnobLeft(), 17);
    EXPECT_EQ(media.log.last(), "seek 0");
}

TEST_F(PlayerTest, DraggingTheKnobSeeksOnReleaseWithoutChangingTheState)
{
    media.setDuration(SongA, 218);
    loadList({SongA});
    player.PlaySong();
    player.PauseSong();
    player.positionKnobDragged(14 + 30);
    player.positionKnobDragged(14 + 500); // held beyond the end
    EXPECT_EQ(player.positionKnobLeft(), 235);
    player.positionKnobDragged(14 - 100);
    EXPECT_EQ(player.positionKnobLeft(), 135);
    EXPECT_FALSE(player.isTimerMainActive());
    player.positionKnobReleased();
    EXPECT_EQ(media.log.last(), "seek 118");
    EXPECT_EQ(player.labelText(Player::Label::LTime), "01:58");
    EXPECT_TRUE(player.isTimerMainActive()) << "the timer runs again after a seek";
    EXPECT_TRUE(paused());
}

TEST_F(PlayerTest, VolumeComesFromTheKnob)
{
    const QList<std::pair<int, int>> clicks{
        {113, -3000}, {125, -3000}, {138, -2000}, {158, -400}, {110, -3000}};
    for (const auto &[x, volume] : clicks) {
        player.clickPanel(x, 69);
        EXPECT_EQ(media.volume(), volume) << "click at " << x;
    }
    EXPECT_EQ(player.volumeKnobLeft(), 105) << "a click does not limit the knob";

    for (int i = 0; i < 40; ++i)
        player.VolumeUp();
    EXPECT_EQ(player.volumeKnobLeft(), 158);
    EXPECT_EQ(media.volume(), 0);
    for (int i = 0; i < 40; ++i)
        player.VolumeDown();
    EXPECT_EQ(player.volumeKnobLeft(), 108);
    EXPECT_EQ(media.volume(), -3000);

    media.setVolume(-3000);
    player.ShowVolume();
    EXPECT_EQ(player.volumeKnobLeft(), 120.5);
    player.VolumeUp();
    EXPECT_EQ(media.volume(), -2840) << "one step is 160 hundredths of a decibel";
}

TEST_F(PlayerTest, VolumeDragFollowsThePointerAndMuteLeavesItAlone)
{
    media.setVolume(-2000);
    player.ShowVolume(); // knob at 133
    player.volumeKnobDragged(5 + 10);
    EXPECT_EQ(player.volumeKnobLeft(), 143);
    EXPECT_EQ(media.volume(), -1200);
    player.volumeKnobDragged(5 + 100);
    EXPECT_EQ(media.volume(), 0);

    player.MuteSong();
    EXPECT_TRUE(player.MutedFlag() && media.isMuted());
    player.VolumeDown();
    EXPECT_TRUE(media.isMuted());
    EXPECT_EQ(media.volume(), -160);
    player.MuteSong();
    EXPECT_FALSE(media.isMuted());
}

TEST_F(PlayerTest, BalancePresetsClicksAndDrags)
{
    using Preset = Player::BalancePreset;
    EXPECT_EQ(player.balancePreset(), Preset::Stereo);
    const QList<std::tuple<int, int, Preset>> presets{
        {0, -5000, Preset::Left}, {1, 0, Preset::Stereo}, {2, 5000, Preset::Right}};
    for (const auto &[what, balance, preset] : presets) {
        player.SetBanlance(what);
        EXPECT_EQ(media.balance(), balance);
        EXPECT_EQ(player.balancePreset(), preset);
    }
    player.SetBanlance(7);
    EXPECT_EQ(player.balancePreset(), Preset::None);
    EXPECT_EQ(media.balance(), 5000) << "an unknown preset keeps the knob";

    player.SetBanlance(1);
    EXPECT_TRUE(player.clickPanel(178, 60));
    EXPECT_EQ(player.balanceKnobLeft(), 173);
    EXPECT_EQ(media.balance(), -5000);
    EXPECT_EQ(player.balancePreset(), Preset::Stereo) << "a click keeps the marks";

    player.balanceKnobDragged(5 + 16);
    EXPECT_EQ(player.balanceKnobLeft(), 189);
    EXPECT_EQ(media.balance(), 0);
    player.balanceKnobDragged(5 - 30);
    EXPECT_EQ(media.balance(), -5000);
    player.balanceKnobReleased();
    EXPECT_EQ(player.balancePreset(), Preset::None);
}

TEST_F(PlayerTest, KeysRunTheirCommandsByModifierRules)
{
    loadList({SongA, SongB});
    struct Case
    {
        int key;
        int shift;
        QString effect; // the last media call or window call, "" for none
    };
    const QList<Case> cases{
        {80, 0, "play"},     {80, 1, "play"},
        {80, 2, ""},         {80, 4, ""},
        {13, 0, "pause"},    {13, 5, "play"},
        {13, 4, "FullScr"},  {115, 4, "UnloadMe"},
        {115, 0, ""},        {187, 0, "play"},
        {189, 3, "play"},    {107, 0, ""},
        {109, 0, ""},        {77, 0, "mute 1"},
        {38, 0, "volume 0"}, {40, 1, "volume -160"},
        {40, 2, ""},         {39, 0, "seek 4.58716"},
        {37, 6, "seek 0"},   {123, 0, "SetOntop"},
        {27, 0, "OrgScr"},   {84, 2, ""},
    };
    for (const Case &c : cases) {
        media.log.clear();
        window.calls.clear();
        player.HandleKey(c.key, c.shift);
        const QStringList calls = media.log + window.calls;
        EXPECT_EQ(calls.isEmpty() ? QString() : calls.last(), c.effect)
            << "key " << c.key << " shift " << c.shift;
    }
}

class StartUpTest : public PlayerTest
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
};

TEST_F(StartUpTest, CommandLineFileReplacesTheSavedList)
{
    writeFile("zorvan.m3u", "/saved/x.mp3\r\n");
    player.LoadCommandSong(QStringLiteral("\"/My Music/a \"b\".mp3\""), path("zorvan.m3u"));
    EXPECT_EQ(player.ListSong().songs(), QStringList{"/My Music/a b.mp3"});
    EXPECT_TRUE(playing());
    EXPECT_TRUE(player.ListSong().isHighlighted(0));

    EXPECT_EQ(player.shutDown(path("zorvan.m3u")), "");
    EXPECT_FALSE(player.AppRunning());
    EXPECT_EQ(media.fileName(), "") << "the track is released";
    QFile saved(path("zorvan.m3u"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "/My Music/a b.mp3\r\n");

    player.ListSong().clear();
    player.LoadCommandSong(QStringLiteral("song.mp3"), path("zorvan.m3u"));
    EXPECT_EQ(player.ListSong().song(0), QDir::current().filePath(QStringLiteral("song.mp3")))
        << "a relative path is taken from the working folder";
}

TEST_F(StartUpTest, CommandLinePlaylistIsReadByItsLastThreeLetters)
{
    writeFile("Party.xM3U", "one.mp3\r\ntwo.mp3\r\n");
    player.LoadCommandSong(path("Party.xM3U"), path("zorvan.m3u"));
    EXPECT_EQ(player.ListSong().songs(), (QStringList{path("one.mp3"), path("two.mp3")}));
    EXPECT_EQ(media.fileName(), path("one.mp3"));
}

TEST_F(StartUpTest, SavedListComesBackPausedAtItsStart)
{
    writeFile("zorvan.m3u", "/m/a.mp3\r\n/m/b.wma\r\n");
    media.setTags(SongA, QStringLiteral("A"), QStringLiteral("T"));
    player.LoadCommandSong(QString(), path("zorvan.m3u"));
    EXPECT_EQ(player.ListSong().count(), 2);
    EXPECT_TRUE(paused());
    EXPECT_FALSE(player.isTimerMainActive());
    EXPECT_EQ(media.log, QStringList{"open /m/a.mp3"}) << "loaded without a moment of sound";
    EXPECT_EQ(player.labelText(Player::Label::LInfo), "A - T");
    EXPECT_EQ(player.labelText(Player::Label::LTime), "00:00");
    player.PauseSong();
    EXPECT_TRUE(media.isPlaying());
}

TEST_F(StartUpTest, NoListAndNoCommandLineLeavesAnEmptyPlayer)
{
    player.LoadCommandSong(QString(), path("missing.m3u"));
    EXPECT_EQ(player.ListSong().CurrentEntry(), -1);
    EXPECT_TRUE(media.log.isEmpty());
    EXPECT_TRUE(paused());
}

TEST_F(StartUpTest, ShutdownReportsAListThatCannotBeWritten)
{
    writeFile("blocker", "a file where a folder should be");
    loadList({SongA});
    const QString error = player.shutDown(path("blocker/zorvan.m3u"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(media.fileName(), "") << "shutdown goes on after the failure";
}

} // namespace

namespace {

class LyricsTest : public StartUpTest
{
protected:
    LyricsTest()
    {
        media.setDuration(song, 218);
        loadList({song});
    }
    QString lyricLabels() const
    {
        const QString min = player.labelText(Player::Label::LTxtMin);
        return min == player.labelText(Player::Label::LTxtMax) ? min : QStringLiteral("<differ>");
    }
    void tickAt(double seconds)
    {
        media.setPosition(seconds);
        player.onTimerMain();
    }

    const QString song = path("song.mp3");
    const QByteArray lyric = "[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n";
};

TEST_F(LyricsTest, FollowPlaybackSeeksAndStop)
{
    writeFile("song.lrc", lyric);
    player.PlaySong();
    EXPECT_EQ(player.labelText(Player::Label::LTxtMin), "");
    EXPECT_EQ(player.labelText(Player::Label::LTxtMax), " - ") << "the song line first";
    tickAt(0);
    EXPECT_EQ(lyricLabels(), "T - A");
    tickAt(4.85);
    EXPECT_EQ(lyricLabels(), "") << "blank just before a line";
    tickAt(5);
    EXPECT_EQ(lyricLabels(), "first ");

    player.clickPanel(17 + 10 + 14, 80); // seek to 10 s: past the last line
    EXPECT_EQ(lyricLabels(), "first ") << "the last line waits for the next tick";
    tickAt(10);
    EXPECT_EQ(lyricLabels(), "second ");
    player.clickPanel(17 + 6 + 14, 80); // back to 6 s
    EXPECT_EQ(lyricLabels(), "first ") << "a seek shows its line at once";

    player.StopSong();
    player.PauseSong();
    tickAt(0);
    EXPECT_EQ(lyricLabels(), "T - A") << "after a stop the lyrics start over";
}

TEST_F(LyricsTest, AreFoundInTheLyricFolders)
{
    QDir(dir.path()).mkdir(QStringLiteral("lrc"));
    writeFile("lrc/song.lrc", lyric);
    player.setListLyricDir({path("none/"), path("lrc/"), QStringLiteral("[END]")});
    player.PlaySong();
    tickAt(0);
    EXPECT_EQ(lyricLabels(), "T - A");
}

TEST_F(LyricsTest, UnreadableLyricFileStillLetsTheSongPlay)
{
    QDir(dir.path()).mkdir(QStringLiteral("song.lrc"));
    player.PlaySong();
    EXPECT_TRUE(playing());
    EXPECT_EQ(player.ListLyric().count(), 0);
}

TEST_F(LyricsTest, SavedListShowsTheHeaderAtStart)
{
    writeFile("song.lrc", lyric);
    writeFile("zorvan.m3u", "song.mp3\r\n");
    player.ListSong().clear();
    player.LoadCommandSong(QString(), path("zorvan.m3u"));
    EXPECT_TRUE(paused());
    EXPECT_EQ(lyricLabels(), "T - A");
    EXPECT_EQ(player.labelText(Player::Label::LInfo), " - ");
}

} // namespace

namespace {

TEST_F(LyricsTest, TimerSleepsUntilSomethingOnScreenCanChange)
{
    writeFile("song.lrc", "[00:03.00]first\n[00:03.05]second\n[00:20.00]last\n");
    player.PlaySong(); // 218 s: the knob steps a pixel a second, with the label
    struct Tick
    {
        double position;
        int delay; // milliseconds to the next tick
    };
    const QList<Tick> ticks{
        {0.0, 500},    // the header is shown; nothing changes for half a second
        {0.5, 10},     // 0.5 still shows 00:00, just after it 00:01
        {0.625, 500},  // the label's and the knob's next change at 1.5 s
        {2.75, 50},    // the first line blanks at 2.8 s
        {3.0625, 10},  // both lines are due: one is caught up per tick
        {3.125, 375},  // the label's next second at 3.5 s
        {19.625, 175}, // the last line blanks at 19.8 s
        {20.0, 500},   // the last line stays; only the label and the knob move on
        {20.375, 125}, // the label's next second at 20.5 s
    };
    for (const Tick &tick : ticks) {
        tickAt(tick.position);
        EXPECT_EQ(player.nextTickDelay(float(tick.position)), tick.delay) << tick.position;
    }
    EXPECT_EQ(lyricLabels(), "last ");

    player.PauseSong();
    player.clickPanel(100, 80); // a seek while paused runs the timer
    EXPECT_TRUE(player.isTimerMainActive());
    EXPECT_EQ(player.nextTickDelay(69), Player::LongestTickMs) << "a paused track stands still";
}

TEST_F(PlayerTest, TimerWakesForTheKnobOfAShortTrack)
{
    media.setDuration(SongA, 54);
    loadList({SongA});
    player.PlaySong();
    media.setPosition(10);
    player.onTimerMain();
    EXPECT_EQ(player.positionKnobLeft(), 57);
    // 218 pixels in 54 s: the knob's next step (target 59) comes at 10.28 s.
    EXPECT_EQ(player.nextTickDelay(10), 280);
}

} // namespace
