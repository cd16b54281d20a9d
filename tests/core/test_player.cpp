#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QUrl>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "fakes/playerrig.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

using Label = DisplayLabels::Label;
using Failure = MediaControl::Failure;

class PlayerTest : public testing::Test, public PlayerRig
{
protected:
    void loadList(const QStringList &paths, int current = 0)
    {
        list().clear();
        list().append(paths);
        list().setCurrentEntry(current);
        list().setHighlighted(current, true);
    }
    void play()
    {
        transport().PlaySong();
        settle(transport());
    }
    // The letters of the songs opened since the log was last cleared.
    QString opened() const
    {
        QString letters;
        for (const QString &call : media.log.filter(QStringLiteral("open /m/")))
            letters += call.at(8);
        return letters;
    }
    QString current() { return list().song(list().CurrentEntry()); }
    QString state()
    {
        return transport().PausedFlag()    ? "paused"
               : transport().PlayingFlag() ? "playing"
                                           : "stopped";
    }
    QString label(Label which) { return player.labels().text(which); }
};

TEST_F(PlayerTest, PlayPauseStopAndResumeFollowTheStateTable)
{
    EXPECT_EQ(state(), "paused");
    transport().PauseSong(); // nothing loaded: no resume
    EXPECT_TRUE(media.log.isEmpty());

    media.setTags(song('a'), QStringLiteral("歌手"), QStringLiteral("歌名"));
    media.setDuration(song('a'), 200.5);
    loadList(songs("ab"));
    play();
    EXPECT_EQ(media.log, (QStringList{"open /m/a.mp3", "play"}));
    EXPECT_TRUE(state() == "playing" && position().isTimerMainActive());
    EXPECT_EQ(position().SongSeconds(), 200); // halves go to the even neighbour
    EXPECT_EQ(label(Label::LInfo), "歌手 - 歌名");
    media.setPosition(42);
    const QList<std::tuple<void (Transport::*)(), QString, bool>> steps{
        {&Transport::PauseSong, "paused", false}, {&Transport::PauseSong, "playing", true},
        {&Transport::StopSong, "stopped", false}, {&Transport::PauseSong, "paused", false},
        {&Transport::StopSong, "paused", false},  {&Transport::PauseSong, "playing", true},
    };
    for (const auto &[command, expected, timerRuns] : steps) {
        (transport().*command)();
        EXPECT_EQ(state(), expected);
        EXPECT_EQ(position().isTimerMainActive(), timerRuns) << expected.toStdString();
    }
    EXPECT_DOUBLE_EQ(media.currentPosition(), 0) << "the stop went back to the start";

    media.log.clear();
    transport().PauseSong();
    play(); // P while paused restarts the current entry from its start
    EXPECT_EQ(media.log, (QStringList{"pause", "open /m/a.mp3", "play"}));
}

TEST_F(PlayerTest, NextAndPreviousWrapAndCarryTheHighlight)
{
    const auto next = &Transport::NextSong, previous = &Transport::PreviousSong;
    // The current entry before (-1: none), the move and the current entry after.
    const QList<std::tuple<int, void (Transport::*)(), int>> moves{
        {2, next, 0}, {0, previous, 2}, {2, previous, 1}, {-1, next, 0}, {-1, previous, 2}};
    for (const auto &[before, command, row] : moves) {
        loadList(songs("abc"), before);
        (transport().*command)();
        EXPECT_EQ(list().CurrentEntry(), row) << before;
        EXPECT_EQ(list().selectionModel()->selectedRows().size(), 1) << before;
        EXPECT_TRUE(list().isHighlighted(row)) << before;
    }
    EXPECT_EQ(opened(), "") << "while paused only the highlight moves";

    // Next while paused keeps the old track for Enter; P starts the highlighted entry.
    play();
    transport().PauseSong();
    transport().NextSong();
    transport().PauseSong();
    EXPECT_EQ(state(), "playing");
    EXPECT_EQ(media.fileName(), song('c'));
    transport().PauseSong();
    play();
    EXPECT_EQ(media.fileName(), song('a'));
}

TEST_F(PlayerTest, EndOfTrackPlaysOnAndRepeatsTheList)
{
    for (const char *letters : {"ab", "a"}) {
        media.log.clear();
        loadList(songs(letters));
        play();
        for (int end = 0; end < 3; ++end) {
            media.finishTrack();
            settle(transport());
        }
        EXPECT_EQ(opened(), QString(letters).repeated(4).left(4));
        EXPECT_EQ(state(), "playing");
    }
}

// An entry that cannot be played is skipped in the direction the user went, for one pass
// at most, whatever the loop and random toggles say.
TEST_F(PlayerTest, BrokenEntriesAreSkippedInTheDirectionOfTravel)
{
    const auto Play = &Transport::PlaySong, Next = &Transport::NextSong,
               Previous = &Transport::PreviousSong;
    const struct
    {
        const char *what, *letters;
        int start;
        bool startsPlaying;
        void (Transport::*command)();
        const char *opens;
        char plays; // 0: none
    } cases[] = {
        {"play over one", "axc", 1, false, Play, "xc", 'c'},
        {"play over several", "xyc", 0, false, Play, "xyc", 'c'},
        {"next wraps over the last", "ax", 0, true, Next, "xa", 'a'},
        {"previous goes back over one", "axc", 2, true, Previous, "xa", 'a'},
        {"previous from the first wraps", "abx", 0, true, Previous, "xb", 'b'},
        {"nothing plays: one pass", "xy", 0, false, Play, "xy", 0},
    };
    for (const auto &[loop, random] : {std::pair{true, false}, {false, false}, {true, true}}) {
        for (const auto &[what, letters, start, startsPlaying, command, opens, plays] : cases) {
            SCOPED_TRACE(testing::Message() << what << " loop " << loop << " random " << random);
            loadList(songs(letters), start);
            transport().setLoopMode(loop);
            transport().setRandomMode(random);
            if (startsPlaying)
                play();
            media.log.clear();
            (transport().*command)();
            settle(transport());
            EXPECT_EQ(opened(), opens);
            EXPECT_EQ(state(), plays ? "playing" : "stopped");
            EXPECT_EQ(media.isPlaying() ? media.fileName() : QString(),
                      plays ? song(plays) : QString());
            if (plays) {
                EXPECT_EQ(current(), song(plays)) << "the highlight follows what plays";
                EXPECT_TRUE(list().isHighlighted(list().CurrentEntry()));
            }
            EXPECT_EQ(position().isTimerMainActive(), plays != 0);
            transport().StopSong();
        }
    }
}

TEST_F(PlayerTest, TheSkipGoesOnFromTheEntryThatFailed)
{
    media.holdOpens(true);
    loadList(songs("xab"));
    transport().PlaySong();
    list().setCurrentEntry(2); // the arrow keys move on while x is being opened
    media.answerOpen();
    QCoreApplication::sendPostedEvents();
    media.answerOpen();
    EXPECT_EQ(media.fileName(), song('a'));
    EXPECT_EQ(current(), song('a'));
}

TEST_F(PlayerTest, TracksThatBreakOffPlayOnButStopAfterOnePass)
{
    loadList(songs("abc"));
    play();
    media.breakTrack(); // a breaks off: b plays
    settle(transport());
    EXPECT_EQ(media.fileName(), song('b'));
    media.finishTrack(); // b ends well: a new pass begins with c
    settle(transport());
    for (int breaks = 0; breaks < 3; ++breaks) {
        EXPECT_EQ(state(), "playing");
        media.breakTrack();
        settle(transport());
    }
    EXPECT_EQ(state(), "stopped") << "c, a and b broke off in turn";
    EXPECT_FALSE(position().isTimerMainActive());
    EXPECT_EQ(opened(), "abcab");
}

// Reports about a track that was replaced never move the playlist or the play state.
TEST_F(PlayerTest, ReportsAboutEarlierTracksAreDropped)
{
    media.holdOpens(true);
    loadList(songs("abc"));
    transport().PlaySong();
    media.answerOpen();
    const quint64 first = media.serial();
    transport().NextSong(); // b is being opened
    const quint64 second = media.serial();
    ASSERT_NE(first, second);
    const QList<std::pair<const char *, std::function<void()>>> late{
        {"end of a", [&] { emit media.endOfStream(first); }},
        {"failure of a", [&] { emit media.failed(first, Failure::CannotDecode, {}); }},
        {"a opened again", [&] { emit media.opened(first); }},
        {"end of b before it opened", [&] { emit media.endOfStream(second); }},
        {"no track at all", [&] { emit media.endOfStream(0); }},
    };
    for (const auto &[what, report] : late) {
        report();
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(current(), song('b')) << what;
        EXPECT_EQ(opened(), "ab") << what;
        EXPECT_TRUE(transport().isBusy()) << what << ": b is still awaited";
        EXPECT_EQ(transport().loadedTrack(), 0u) << what << ": nothing is loaded meanwhile";
    }
    media.answerOpen();
    EXPECT_TRUE(media.isPlaying());
    emit media.failed(second - 1, Failure::CannotDecode, {});
    EXPECT_EQ(media.fileName(), song('b')) << "b plays on";
}

TEST_F(PlayerTest, CommandsWhileAnOpenIsPendingShapeWhatItBecomes)
{
    media.holdOpens(true);
    loadList(songs("a"));
    const auto pause = &Transport::PauseSong, stop = &Transport::StopSong;
    const QList<std::tuple<QList<void (Transport::*)()>, bool, QString>> cases{
        {{}, true, "playing"},
        {{pause}, false, "paused"},
        {{pause, pause}, true, "playing"},
        {{stop}, false, "stopped"},
    };
    for (const auto &[meanwhile, plays, expected] : cases) {
        transport().PlaySong();
        for (const auto command : meanwhile)
            (transport().*command)();
        media.answerOpen();
        EXPECT_EQ(media.isPlaying(), plays) << expected.toStdString();
        EXPECT_EQ(state(), expected);
        EXPECT_EQ(position().isTimerMainActive(), plays) << expected.toStdString();
    }
    // Once the track is open, the lookup of its lyrics holds no command back.
    transport().PlaySong();
    media.answerOpen();
    ASSERT_TRUE(transport().isBusy()) << "the lyrics are still looked up";
    for (const bool plays : {false, true}) {
        transport().PauseSong();
        EXPECT_EQ(media.isPlaying(), plays);
        EXPECT_EQ(position().isTimerMainActive(), plays);
    }
}

TEST_F(PlayerTest, ShutdownCancelsWhatIsUnderWayAndNothingStartsAfterIt)
{
    loadList(songs("xab"));
    transport().PlaySong();
    QCoreApplication::sendPostedEvents(); // x fails; the step to a is queued
    ASSERT_TRUE(transport().isBusy());
    player.stop();
    settle(transport());
    EXPECT_FALSE(session.AppRunning());
    EXPECT_EQ(opened(), "x") << "the queued step did not run";
    EXPECT_EQ(media.log.last(), "release");
    EXPECT_EQ(state(), "stopped");
    EXPECT_FALSE(position().isTimerMainActive());

    const CommandLineSongs handed{songs("a"), songs("a"), {}};
    const QList<std::pair<const char *, std::function<void()>>> commands{
        {"play", [&] { transport().PlaySong(); }},
        {"next", [&] { transport().NextSong(); }},
        {"previous", [&] { transport().PreviousSong(); }},
        {"resume", [&] { transport().PauseSong(); }},
        {"songs handed over", [&] { transport().openSongs(handed); }},
    };
    for (const auto &[what, command] : commands) {
        command();
        settle(transport());
        EXPECT_EQ(opened(), "x") << what;
        EXPECT_EQ(list().count(), 3) << what;
        EXPECT_FALSE(media.isPlaying()) << what;
    }
}

TEST_F(PlayerTest, ShowTimeRoundsHalvesToEvenAndWidensMinutes)
{
    const QList<std::pair<float, const char *>> cases{
        {0, "00:00"},     {0.5f, "00:00"},    {2.5f, "00:02"}, {59.5f, "01:00"},
        {75.4f, "01:15"}, {3599.4f, "59:59"}, {6000, "100:00"}};
    for (const auto &[seconds, text] : cases) {
        position().ShowTime(seconds);
        EXPECT_EQ(label(Label::LTime), text) << seconds;
    }
}

TEST_F(PlayerTest, TimerTickMovesTheKnobForwardOnly)
{
    media.setDuration(song('a'), 218); // a pixel a second
    media.setDuration(song('b'), 0);
    media.setDuration(song('c'), 54);
    loadList(songs("abc"));
    play();
    // The track, the position at the tick, the knob's left edge and the time shown. A step of
    // one pixel is ignored, the knob never moves back, and a track of unknown length leaves
    // it at its start.
    const QList<std::tuple<char, double, double, const char *>> ticks{
        {'a', 1, 17, "00:01"},  {'a', 100, 117, "01:40"}, {'a', 50, 117, "00:50"},
        {'b', 30, 17, "00:30"}, {'c', 10, 57, "00:10"},
    };
    for (const auto &[track, seconds, knob, time] : ticks) {
        if (current() != song(track))
            transport().NextSong(), settle(transport());
        media.setPosition(seconds);
        position().onTimerMain();
        EXPECT_EQ(position().knob().left(), knob) << track << seconds;
        EXPECT_EQ(label(Label::LTime), time);
    }
    // 218 pixels in 54 s: the knob's next step (target 59) comes at 10.28 s.
    EXPECT_EQ(position().nextTickDelay(10), 280);
}

TEST_F(PlayerTest, SeeksFollowTheKnobWithinTheTrack)
{
    player.clickPanel(200, 80);
    EXPECT_EQ(media.log.last(), "seek 0") << "before any track a seek goes to 0";
    media.setDuration(song('a'), 218);
    loadList(songs("a"));
    play();

    EXPECT_TRUE(player.clickPanel(22, 80)); // grip left of the travel: time 0
    EXPECT_EQ(position().knob().left(), 8);
    EXPECT_EQ(media.log.last(), "seek 0");
    position().onTimerMain();
    EXPECT_EQ(position().knob().left(), 17) << "the next tick brings the knob back in";

    player.clickPanel(131, 82); // lower band edge counts
    EXPECT_EQ(media.log.last(), "seek 100");
    EXPECT_FALSE(player.clickPanel(131, 72)) << "the upper band edge does not";

    // The steps stop at either end of the travel.
    for (const auto &[step, knob, seek] :
         {std::tuple{&PlaybackPosition::FastForward, 235, "seek 218"},
          {&PlaybackPosition::FastPre, 17, "seek 0"}}) {
        for (int i = 0; i < 50; ++i)
            (position().*step)();
        EXPECT_EQ(position().knob().left(), knob);
        EXPECT_EQ(media.log.last(), seek);
    }

    // A drag seeks on release, without changing the state.
    transport().PauseSong();
    position().positionKnobDragged(14 + 101);
    EXPECT_EQ(position().knob().left(), 118);
    EXPECT_FALSE(position().isTimerMainActive());
    position().positionKnobReleased();
    EXPECT_EQ(media.log.last(), "seek 101");
    EXPECT_EQ(label(Label::LTime), "01:41");
    EXPECT_TRUE(position().isTimerMainActive()) << "the timer runs again after a seek";
    EXPECT_EQ(state(), "paused");
}

TEST_F(PlayerTest, VolumeComesFromTheKnob)
{
    SoundControls &sound = player.sound();
    for (const auto &[x, volume] : {std::pair{125, -3000}, {158, -400}, {110, -3000}}) {
        player.clickPanel(x, 69);
        EXPECT_EQ(media.volume(), volume) << "click at " << x;
    }
    EXPECT_EQ(sound.volumeKnob().left(), 105) << "a click does not limit the knob";
    // The steps stop at either end of the travel.
    for (const auto &[step, knob, volume] :
         {std::tuple{&SoundControls::VolumeUp, 158, 0}, {&SoundControls::VolumeDown, 108, -3000}}) {
        for (int i = 0; i < 40; ++i)
            (sound.*step)();
        EXPECT_EQ(sound.volumeKnob().left(), knob);
        EXPECT_EQ(media.volume(), volume);
    }
    media.setVolume(-3000);
    sound.ShowVolume();
    EXPECT_EQ(sound.volumeKnob().left(), 120.5);
    sound.VolumeUp();
    EXPECT_EQ(media.volume(), -2840) << "one step is 160 hundredths of a decibel";
    sound.volumeKnobDragged(5 + 10);
    EXPECT_EQ(sound.volumeKnob().left(), 132.5);
    EXPECT_EQ(media.volume(), -2040);
    sound.MuteSong();
    EXPECT_TRUE(sound.MutedFlag() && media.isMuted());
    sound.VolumeDown();
    EXPECT_TRUE(media.isMuted()) << "the volume changes under the mute";
    EXPECT_EQ(media.volume(), -2200);
}

// The widget test drags the balance knob and releases it.
TEST_F(PlayerTest, BalancePresetsAndClicks)
{
    SoundControls &sound = player.sound();
    using Preset = SoundControls::BalancePreset;
    EXPECT_EQ(sound.balancePreset(), Preset::Stereo);
    // The preset asked for (7: unknown), the balance sent and the mark shown.
    const QList<std::tuple<int, int, Preset>> presets{{0, -5000, Preset::Left},
                                                      {1, 0, Preset::Stereo},
                                                      {2, 5000, Preset::Right},
                                                      {7, 5000, Preset::None}};
    for (const auto &[what, balance, preset] : presets) {
        sound.SetBanlance(what);
        EXPECT_EQ(media.balance(), balance) << what;
        EXPECT_EQ(sound.balancePreset(), preset) << what;
    }
    sound.SetBanlance(1);
    EXPECT_TRUE(player.clickPanel(178, 60));
    EXPECT_EQ(media.balance(), -5000);
    EXPECT_EQ(sound.balancePreset(), Preset::Stereo) << "a click keeps the marks";
}

class StartUpTest : public PlayerTest
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    void start(const QStringList &arguments)
    {
        list().clear();
        media.log.clear();
        player.start(songsFromArguments(arguments, dir.path()));
        settle(transport());
    }
};

TEST_F(StartUpTest, ArgumentsMakeTheListAndTheFirstPlays)
{
    for (const char *name : {"a.wav", "folder/2.mp3", "folder/1.wma", "folder/cover.jpg",
                             "folder/sub/deep.mp3", "folder/b.WAV"})
        writeFile(path(QLatin1String(name)), "x");
    writeFile(path("list.M3U"), "one.mp3\r\ntwo.mp3\r\n");
    const QString a = path("a.wav");
    const QStringList listed{path("one.mp3"), path("two.mp3")};
    const QString longPath = QStringLiteral("folder/").repeated(600) + "a.wav";
    // The arguments, the songs they give and the problems told.
    const QList<std::tuple<QStringList, QStringList, QStringList>> cases{
        {{"a.wav", a}, {a, a}, {}},
        {{a, "list.M3U", a}, QStringList{a} + listed + QStringList{a}, {}},
        // A folder gives its sound files by name, without its subfolders.
        {{"folder"}, {path("folder/1.wma"), path("folder/2.mp3"), path("folder/b.WAV")}, {}},
        {{"gone.mp3", a}, {a}, {"no such file or folder: gone.mp3"}},
        // Names the system cannot hold are named for what they are, not as missing files.
        {{QString::fromUtf8("Beyonc\xe9.mp3"), a},
         {a},
         {"the name is not valid UTF-8: Beyonc\uFFFD.mp3"}},
        {{longPath}, {}, {"the path is longer than 4095 bytes: " + longPath}},
        {{QUrl::fromLocalFile(a).toString()}, {a}, {}},
    };
    for (const auto &[arguments, expected, problems] : cases) {
        const CommandLineSongs given = songsFromArguments(arguments, dir.path());
        EXPECT_EQ(given.songs, expected) << arguments.join(u' ').toStdString();
        EXPECT_EQ(given.problems, problems);
    }

    writeFile(path("zorvan.m3u"), "/saved/x.mp3\r\n");
    start({"a.wav", "list.M3U"});
    EXPECT_EQ(list().songs(), QStringList{a} + listed);
    EXPECT_EQ(media.fileName(), a);
    EXPECT_EQ(state(), "playing");
    EXPECT_TRUE(list().isHighlighted(0));
}

TEST_F(StartUpTest, SavedListComesBackWithItsFirstPlayableSongPaused)
{
    start({});
    EXPECT_EQ(list().CurrentEntry(), -1) << "no list, no arguments";
    EXPECT_EQ(media.log, QStringList{"volume 0"});
    EXPECT_EQ(state(), "paused");

    const QString broken = path("broken.mp3");
    media.failOpen(broken);
    writeFile(path("zorvan.m3u"), "broken.mp3\r\n/m/a.mp3\r\n/m/b.mp3\r\n");
    media.setTags(song('a'), QStringLiteral("A"), QStringLiteral("T"));
    for (const QStringList &arguments : {QStringList{}, QStringList{"only-missing.mp3"}}) {
        start(arguments);
        EXPECT_EQ(list().count(), 3);
        EXPECT_EQ(state(), "paused");
        EXPECT_FALSE(position().isTimerMainActive());
        EXPECT_EQ(media.log.filter("open "), (QStringList{"open " + broken, "open /m/a.mp3"}));
        EXPECT_FALSE(media.log.contains("play")) << "loaded without a moment of sound";
        EXPECT_EQ(current(), song('a'));
        EXPECT_EQ(label(Label::LInfo), "A - T");
        EXPECT_EQ(label(Label::LTime), "00:00");
    }
    transport().PauseSong();
    EXPECT_TRUE(media.isPlaying());
}

class LyricsTest : public StartUpTest
{
protected:
    LyricsTest()
    {
        media.setDuration(lyricSong, 218);
        loadList({lyricSong});
    }
    QString lyricLabels()
    {
        const QString min = label(Label::LTxtMin);
        return min == label(Label::LTxtMax) ? min : QStringLiteral("<differ>");
    }
    void tickAt(double seconds)
    {
        media.setPosition(seconds);
        position().onTimerMain();
    }

    const QString lyricSong = path("song.mp3");
    const QByteArray lyric = "[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n";
};

TEST_F(LyricsTest, FollowPlaybackSeeksAndStop)
{
    writeFile(path("song.lrc"), lyric);
    play();
    EXPECT_EQ(label(Label::LTxtMin), "");
    EXPECT_EQ(label(Label::LTxtMax), "song") << "the song line first";
    player.clickPanel(17 + 6 + 14, 80); // a seek to 6 s
    EXPECT_EQ(lyricLabels(), "first ") << "a seek shows its line at once";

    transport().StopSong();
    transport().PauseSong();
    tickAt(0);
    EXPECT_EQ(lyricLabels(), "T - A") << "after a stop the lyrics start over";
}

// The lyric switch: off, the labels show the song line and the lyric steps change nothing;
// on again, the line due at the position shows at once.
TEST_F(LyricsTest, HiddenLinesComeBackAtTheLineDueNow)
{
    writeFile(path("song.lrc"), lyric);
    play();
    QSignalSpy switched(&position(), &PlaybackPosition::showsLyricsChanged);
    const auto labels = [&] { return label(Label::LTxtMin) + u'|' + label(Label::LTxtMax); };
    // Past the last line the lookup of the due line leaves it to the next step.
    for (const auto &[seconds, shown] :
         {std::pair{0.0, "T - A"}, {6.0, "first "}, {9.5, "second "}}) {
        tickAt(seconds / 2);
        position().setShowsLyrics(false);
        EXPECT_EQ(labels(), "|song") << seconds;
        tickAt(seconds);
        EXPECT_EQ(labels(), "|song") << "hidden lines do not show " << seconds;
        position().setShowsLyrics(true);
        position().setShowsLyrics(true);
        EXPECT_EQ(lyricLabels(), shown) << seconds;
    }
    EXPECT_EQ(switched.count(), 6) << "a change is told, a repeat is not";
}

// A saved list comes back paused, with the header of its lyrics shown.
TEST_F(LyricsTest, AreFoundInTheLyricFoldersOrNotAtAll)
{
    writeFile(path("lrc/song.lrc"), lyric);
    writeFile(path("zorvan.m3u"), "song.mp3\r\n");
    session.setListLyricDir({path("none/"), path("lrc/")});
    start({});
    EXPECT_EQ(state(), "paused");
    EXPECT_EQ(lyricLabels(), "T - A");
    EXPECT_EQ(label(Label::LInfo), "song");

    session.setListLyricDir({});
    QDir(dir.path()).mkdir(QStringLiteral("song.lrc")); // a folder where the file should be
    play();
    EXPECT_EQ(state(), "playing") << "a lyric file that cannot be read leaves the song alone";
    EXPECT_EQ(position().ListLyric().count(), 0);
}

TEST_F(LyricsTest, LyricsOfAnEarlierTrackAreDropped)
{
    writeFile(path("song.lrc"), lyric);
    media.holdOpens(true);
    transport().PlaySong();
    media.answerOpen(); // the song's lookup runs
    loadList(songs("a"));
    transport().PlaySong();
    media.answerOpen(); // a has started before the song's lyrics come in
    settle(transport());
    EXPECT_EQ(media.fileName(), song('a'));
    EXPECT_EQ(position().ListLyric().count(), 0);
}

TEST_F(LyricsTest, TimerSleepsUntilSomethingOnScreenCanChange)
{
    writeFile(path("song.lrc"), "[00:03.00]first\n[00:03.05]second\n[00:20.00]last\n");
    play(); // 218 s: the knob steps a pixel a second, with the label
    // Each tick's position and the milliseconds to the next tick.
    const QList<std::pair<double, int>> ticks{
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
    for (const auto &[at, delay] : ticks) {
        tickAt(at);
        EXPECT_EQ(position().nextTickDelay(float(at)), delay) << at;
    }
    EXPECT_EQ(lyricLabels(), "last ");

    transport().PauseSong();
    player.clickPanel(100, 80); // a seek while paused runs the timer
    EXPECT_TRUE(position().isTimerMainActive());
    EXPECT_EQ(position().nextTickDelay(69), PlaybackPosition::LongestTickMs)
        << "a paused track stands still";
}

} // namespace
