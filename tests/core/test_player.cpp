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
using Command = void (Transport::*)();
constexpr Command Play = &Transport::PlaySong, Pause = &Transport::PauseSong,
                  Stop = &Transport::StopSong, Next = &Transport::NextSong,
                  Previous = &Transport::PreviousSong;
const QStringList States{"stopped", "playing", "paused"};
const QByteArray Lyric = "[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n";

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
    void run(Command command) { (transport().*command)(); }
    void play() { run(Play), settle(transport()); }
    // The letters of the songs opened since the log was last cleared.
    QString opened() const
    {
        return media.log.filter("open /m/").join("").remove("open /m/").remove(".mp3");
    }
    QString current() { return list().song(list().CurrentEntry()); }
    QString state() { return States.at(int(transport().playState())); }
    // The state, the letter of the song heard ("-": none) and whether the position timer
    // runs, as "playing c timer".
    QString sounding()
    {
        const QString heard = media.isPlaying() ? media.fileName().mid(3, 1) : "-";
        return state() + u' ' + heard + (position().isTimerMainActive() ? " timer" : "");
    }
    QString label(Label which) { return player.labels().text(which); }
    QString path(const QString &name) const { return dir.filePath(name); }
    // song.mp3, 218 s long, alone in the list, with `lyrics` beside it.
    void loadLyricSong(const QByteArray &lyrics)
    {
        writeFile(path("song.lrc"), lyrics);
        media.setDuration(path("song.mp3"), 218);
        loadList({path("song.mp3")});
    }
    // The lyric line both lyric labels show.
    QString lyricLabels()
    {
        const QString min = label(Label::LTxtMin);
        return min == label(Label::LTxtMax) ? min : QStringLiteral("<differ>");
    }
    void tickAt(double seconds) { media.setPosition(seconds), position().onTimerMain(); }
};

// The same table holds whether the commands come while the track opens or after it has
// opened (when its lyrics are still looked up, which holds no command back).
TEST_F(PlayerTest, PlayPauseAndStopFollowTheStateTableAlsoWhileATrackOpens)
{
    EXPECT_EQ(state(), "paused");
    transport().PauseSong(); // nothing loaded: no resume
    EXPECT_TRUE(media.log.isEmpty());

    media.setDuration(song('a'), 200.5);
    loadList(songs("ab"));
    media.holdOpens(true);
    // The commands after P and what then sounds.
    // clang-format off
    const QList<std::pair<QList<Command>, const char *>> rows{
        {{}, "playing a timer"},  {{Pause}, "paused -"},       {{Pause, Pause}, "playing a timer"},
        {{Stop}, "stopped -"},    {{Stop, Pause}, "paused -"}, {{Pause, Stop}, "paused -"},
        {{Stop, Pause, Pause}, "playing a timer"}};
    // clang-format on
    for (const bool whileOpening : {false, true}) {
        for (const auto &[commands, expected] : rows) {
            SCOPED_TRACE(testing::Message() << expected << (whileOpening ? " while opening" : ""));
            media.log.clear();
            transport().PlaySong(); // also when paused: the current entry from its start
            if (!whileOpening) {
                media.answerOpen();
                ASSERT_TRUE(transport().isBusy()) << "the lyrics are still looked up";
            }
            for (const Command command : commands)
                run(command);
            if (whileOpening)
                media.answerOpen();
            EXPECT_EQ(sounding(), expected);
            EXPECT_EQ(opened(), "a");
            EXPECT_EQ(media.log.contains("seek 0"), commands.contains(Stop)) << "stop rewinds";
        }
    }
    EXPECT_EQ(position().SongSeconds(), 200); // halves go to the even neighbour
}

TEST_F(PlayerTest, NextAndPreviousWrapAndCarryTheHighlight)
{
    // The current entry before (-1: none), the command and the current entry after.
    const QList<std::tuple<int, Command, int>> moves{
        {2, Next, 0}, {0, Previous, 2}, {2, Previous, 1}, {-1, Next, 0}, {-1, Previous, 2}};
    for (const auto &[before, command, row] : moves) {
        loadList(songs("abc"), before);
        run(command);
        EXPECT_EQ(list().CurrentEntry(), row) << before;
        EXPECT_EQ(list().selectionModel()->selectedRows(), QModelIndexList{list().index(row)});
    }
    EXPECT_EQ(opened(), "") << "while paused only the highlight moves";

    // Next while paused keeps the old track for Enter; P starts the highlighted entry.
    play();
    for (const Command command : {Pause, Next, Pause})
        run(command);
    EXPECT_EQ(sounding(), "playing c timer");
    transport().PauseSong();
    play();
    EXPECT_EQ(sounding(), "playing a timer");
}

// A track that plays to its end starts the next, around the list, with a new pass; one that
// breaks off counts against the pass, so a list where nothing plays to its end stops.
TEST_F(PlayerTest, TracksPlayOnAroundTheListButBreaksStopAfterOnePass)
{
    loadList(songs("abc"));
    play();
    for (const bool ends : {false, true, true, false, false, false}) {
        EXPECT_EQ(state(), "playing");
        ends ? media.finishTrack() : media.breakTrack();
        settle(transport());
    }
    EXPECT_EQ(opened(), "abcabc") << "a broke off, b and c ended, then a, b and c broke off";
    EXPECT_EQ(sounding(), "stopped -");
}

// An entry that cannot be played is skipped in the direction the user went, for one pass
// at most, whatever the loop toggle says; the highlight follows what plays. (Shuffled, the
// skips follow the shuffled order: test_order.cpp.)
TEST_F(PlayerTest, BrokenEntriesAreSkippedInTheDirectionOfTravel)
{
    const struct
    {
        const char *letters;
        int start;
        Command command; // next and previous while playing
        const char *opens, *sounding;
    } cases[] = {
        {"xyc", 0, Play, "xyc", "playing c timer"},
        {"ax", 0, Next, "xa", "playing a timer"}, // wraps over the last
        {"axc", 2, Previous, "xa", "playing a timer"},
        {"abx", 0, Previous, "xb", "playing b timer"}, // wraps over the first
        {"xy", 0, Play, "xy", "stopped -"},            // one pass
    };
    for (const auto &[loop, random] : {std::pair{true, false}, {false, false}}) {
        for (const auto &[letters, start, command, opens, expected] : cases) {
            SCOPED_TRACE(testing::Message() << letters << " loop " << loop << " random " << random);
            loadList(songs(letters), start);
            transport().setLoopMode(loop);
            transport().setRandomMode(random);
            if (command != Play)
                play();
            media.log.clear();
            run(command);
            settle(transport());
            EXPECT_EQ(opened(), opens);
            EXPECT_EQ(sounding(), expected);
            if (media.isPlaying()) {
                EXPECT_EQ(current(), media.fileName());
                EXPECT_TRUE(list().isHighlighted(list().CurrentEntry()));
            }
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
    EXPECT_EQ(sounding(), "stopped -");

    // Play, next, resume and songs handed over.
    for (const Command command : {Play, Next, Pause, Command()}) {
        command ? run(command) : open(songs("a"));
        settle(transport());
        EXPECT_EQ(opened(), "x");
        EXPECT_EQ(list().count(), 3);
        EXPECT_FALSE(media.isPlaying());
    }
}

TEST_F(PlayerTest, TheKnobSeeksWithinTheTrackAndTicksMoveItForwardOnly)
{
    player.clickPanel(200, 80);
    EXPECT_EQ(media.log.last(), "seek 0") << "before any track a seek goes to 0";
    media.setDuration(song('a'), 218); // a pixel a second
    media.setDuration(song('b'), 0);
    media.setDuration(song('c'), 54);
    loadList(songs("abc"));
    play();

    EXPECT_TRUE(player.clickPanel(22, 80)); // grip left of the travel: time 0
    EXPECT_EQ(position().knob().left(), 8);
    EXPECT_EQ(media.log.last(), "seek 0");
    position().onTimerMain();
    EXPECT_EQ(position().knob().left(), 17) << "the next tick brings the knob back in";

    player.clickPanel(131, 82); // lower band edge counts
    EXPECT_EQ(media.log.last(), "seek 100");
    EXPECT_FALSE(player.clickPanel(131, 72)) << "the upper band edge does not";

    // A drag seeks on release, without changing the state.
    transport().PauseSong();
    position().positionKnobDragged(14 + 1);
    position().positionKnobReleased();
    EXPECT_EQ(media.log.last(), "seek 101");
    EXPECT_EQ(label(Label::LTime), "01:41");
    EXPECT_EQ(state(), "paused");

    play(); // a again, from its start
    // The track, the position at the tick, the knob's left edge and the time shown. A step of
    // one pixel is ignored, the knob never moves back, and a track of unknown length leaves
    // it at its start. The time rounds halves to the even second and widens past 99 minutes.
    const QList<std::tuple<char, double, double, const char *>> ticks{
        {'a', 1, 17, "00:01"},     {'a', 100, 117, "01:40"}, {'a', 50, 117, "00:50"},
        {'b', 2.5, 17, "00:02"},   {'b', 59.5, 17, "01:00"}, {'b', 3599.4, 17, "59:59"},
        {'b', 6000, 17, "100:00"}, {'c', 10, 57, "00:10"}};
    for (const auto &[track, seconds, knob, time] : ticks) {
        if (current() != song(track))
            transport().NextSong(), settle(transport());
        tickAt(seconds);
        EXPECT_EQ(position().knob().left(), knob) << track << seconds;
        EXPECT_EQ(label(Label::LTime), time);
    }
    // 218 pixels in 54 s: the knob's next step (target 59) comes at 10.28 s.
    EXPECT_EQ(position().nextTickDelay(10), 280);
}

TEST_F(PlayerTest, VolumeAndBalanceComeFromTheKnobsAndThePresets)
{
    SoundControls &sound = player.sound();
    EXPECT_TRUE(player.clickPanel(158, 69));
    EXPECT_EQ(media.volume(), -400);
    // The remote control's fraction: the knob's travel spans -40 … 0 dB, but the quietest
    // volume sent is -30 dB; what is not a number changes nothing.
    const QList<std::tuple<double, int, double>> fractions{
        {1, 0, 1},         {0.5, -2000, 0.5}, {0.75, -1000, 0.75}, {qQNaN(), -1000, 0.75},
        {0.1, -3000, 0.1}, {1.7, 0, 1},       {-0.3, -3000, 0},
    };
    for (const auto &[fraction, volume, readBack] : fractions) {
        sound.setVolumeFraction(fraction);
        EXPECT_EQ(media.volume(), volume) << fraction;
        EXPECT_NEAR(sound.volumeFraction(), readBack, 1e-6) << fraction;
    }
    // The steps stop at either end of the travel.
    for (const auto &[step, knob, volume] :
         {std::tuple{&SoundControls::VolumeDown, 108, -3000}, {&SoundControls::VolumeUp, 158, 0}}) {
        for (int i = 0; i < 40; ++i)
            (sound.*step)();
        EXPECT_EQ(sound.volumeKnob().left(), knob);
        EXPECT_EQ(media.volume(), volume);
    }
    sound.MuteSong();
    sound.VolumeDown();
    EXPECT_TRUE(sound.MutedFlag() && media.isMuted()) << "the volume changes under the mute";
    EXPECT_EQ(media.volume(), -160) << "one step is 160 hundredths of a decibel";
    // A saved volume below the travel puts the knob past its end; it reads as the end.
    media.setVolume(-5000);
    sound.ShowVolume();
    EXPECT_EQ(sound.volumeFraction(), 0.0);

    // The balance: the widget test drags its knob and releases it.
    using Preset = SoundControls::BalancePreset;
    // The preset asked for (7: unknown), the balance sent and the mark shown.
    // clang-format off
    const QList<std::tuple<int, int, Preset>> presets{
        {0, -5000, Preset::Left}, {1, 0, Preset::Stereo}, {2, 5000, Preset::Right},
        {7, 5000, Preset::None}};
    // clang-format on
    for (const auto &[what, balance, preset] : presets) {
        sound.SetBanlance(what);
        EXPECT_EQ(media.balance(), balance) << what;
        EXPECT_EQ(sound.balancePreset(), preset) << what;
    }
    sound.SetBanlance(1);
    EXPECT_TRUE(player.clickPanel(178, 60));
    EXPECT_EQ(sound.balancePreset(), Preset::Stereo) << "a click keeps the marks";
}

TEST_F(PlayerTest, ArgumentsGiveTheirSongsOrSayWhatIsWrong)
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
        {{"a.wav", "list.M3U", a}, QStringList{a} + listed + QStringList{a}, {}},
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
}

TEST_F(PlayerTest, SavedListComesBackWithItsFirstPlayableSongPausedAndItsLyrics)
{
    player.start({});
    EXPECT_EQ(media.log, QStringList{"volume 0"}) << "no list, no arguments: nothing opens";

    const QString broken = path("broken.mp3");
    media.failOpen(broken);
    writeFile(path("zorvan.m3u"), "broken.mp3\r\n/m/a.mp3\r\n/m/b.mp3\r\n");
    writeFile(path("lrc/a.lrc"), Lyric);
    session.setListLyricDir({path("none/"), path("lrc/")});
    for (const QStringList &arguments : {QStringList{}, QStringList{"only-missing.mp3"}}) {
        list().clear();
        media.log.clear();
        player.start(songsFromArguments(arguments, dir.path()));
        settle(transport());
        EXPECT_EQ(list().count(), 3);
        EXPECT_EQ(sounding(), "paused -");
        EXPECT_EQ(media.log.filter("open "), (QStringList{"open " + broken, "open /m/a.mp3"}));
        EXPECT_FALSE(media.log.contains("play")) << "loaded without a moment of sound";
        EXPECT_EQ(current(), song('a'));
        EXPECT_EQ(label(Label::LTime), "00:00");
        EXPECT_EQ(lyricLabels(), "T - A") << "from the lyric folders, while the song waits";
    }
    transport().PauseSong();
    EXPECT_TRUE(media.isPlaying());
}

// The song line shows until the first tick. With the lyric switch off the labels show the
// song line and the lyric steps change nothing; on again, the line due at the position shows
// at once, as it does after a seek. After a stop the lyrics start over.
TEST_F(PlayerTest, LyricsFollowPlaybackTheSwitchSeeksAndStop)
{
    loadLyricSong(Lyric);
    play();
    const auto labels = [&] { return label(Label::LTxtMin) + u'|' + label(Label::LTxtMax); };
    EXPECT_EQ(labels(), "|song");
    QSignalSpy switched(&position(), &PlaybackPosition::showsLyricsChanged);
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

    transport().StopSong();
    transport().PauseSong();
    tickAt(0);
    EXPECT_EQ(lyricLabels(), "T - A") << "after a stop the lyrics start over";
    player.clickPanel(17 + 6 + 14, 80); // a seek to 6 s
    EXPECT_EQ(lyricLabels(), "first ") << "a seek shows its line at once";
}

TEST_F(PlayerTest, ALyricFileThatCannotBeReadLeavesTheSongAlone)
{
    loadList({path("song.mp3")});
    QDir(dir.path()).mkdir(QStringLiteral("song.lrc")); // a folder where the file should be
    play();
    EXPECT_EQ(state(), "playing");
    EXPECT_EQ(position().ListLyric().count(), 0);
}

// The song's lyrics come in after x has replaced it and failed, with nothing loaded: a track
// that started meanwhile would hide their wrong arrival by clearing them.
TEST_F(PlayerTest, LyricsOfAnEarlierTrackAreDropped)
{
    loadLyricSong(Lyric);
    media.holdOpens(true);
    transport().PlaySong();
    media.answerOpen(); // the song's lookup runs
    loadList(songs("x"));
    transport().PlaySong();
    media.answerOpen();
    settle(transport());
    EXPECT_EQ(state(), "stopped");
    EXPECT_EQ(position().ListLyric().count(), 0);
}

TEST_F(PlayerTest, LyricsTimerSleepsUntilSomethingOnScreenCanChange)
{
    loadLyricSong("[00:03.00]first\n[00:03.05]second\n[00:20.00]last\n");
    play(); // 218 s: the knob steps a pixel a second, with the label
    // Each tick's position and the milliseconds to the next tick.
    const QList<std::pair<double, int>> ticks{
        {0.0, 500},    // the header is shown; nothing changes for half a second
        {0.5, 10},     // 0.5 still shows 00:00, just after it 00:01
        {0.625, 500},  // the label's and the knob's next change at 1.5 s
        {2.75, 50},    // the first line blanks at 2.8 s
        {3.0625, 10},  // both lines are due: one is caught up per tick
        {19.625, 175}, // the last line blanks at 19.8 s
        {20.0, 500},   // the last line stays; only the label and the knob move on
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
