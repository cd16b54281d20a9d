#include <algorithm>
#include <random>

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/skinlayout.h"
#include "fakes/playerrig.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

using Label = DisplayLabels::Label;
using Failure = MediaControl::Failure;
using Skin::PositionTrack, Skin::VolumeTrack, Skin::BalanceTrack;
using Command = void (Transport::*)();
constexpr Command Play = &Transport::PlaySong, Pause = &Transport::PauseSong,
                  Stop = &Transport::StopSong, Next = &Transport::NextSong,
                  Previous = &Transport::PreviousSong;
const QByteArray Lyric = "[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n";

// How tracks get to their ends: the backend reports the end, or the track follows on to
// the queued entry without a gap. Both must go the same way along the order.
enum class Ending { Reported, Followed };

// The songs s and t are 5 ms long; shuffling draws from `source`.
class PlayerTest : public testing::Test, public PlayerRig
{
protected:
    PlayerTest()
    {
        for (const QString &path : songs("st"))
            media.setDuration(path, 0.005);
        transport().playOrder().setRandomSource(
            [this](int bound) { return int(source() % unsigned(bound)); });
    }
    void run(Command command) { (transport().*command)(); }
    void play() { run(Play), settle(transport()); }
    // The state, the letter of the song heard ("-": none) and whether the position timer
    // runs, as "playing c timer".
    QString sounding()
    {
        const QString heard = media.isPlaying() ? media.fileName().mid(3, 1) : "-";
        return state() + u' ' + heard + (position().isTimerMainActive() ? " timer" : "");
    }
    QString label(Label which) { return player.labels().text(which); }
    // song.mp3, 218 s long, alone in the list, with `lyrics` beside it.
    void loadLyricSong(const QByteArray &lyrics)
    {
        writeFile(path("song.lrc"), lyrics);
        media.setDuration(path("song.mp3"), 218);
        load({path("song.mp3")});
    }
    // The lyric line both lyric labels show.
    QString lyricLabels()
    {
        const QString min = label(Label::LTxtMin);
        return min == label(Label::LTxtMax) ? min : QStringLiteral("<differ>");
    }
    void tickAt(double seconds) { media.setPosition(seconds), position().onTimerMain(); }
    // Plays the current entry, then takes each of `steps` in turn: 'e' the track comes to its
    // end as `ending` says, 'b' it breaks off. The letters of the songs heard.
    QString playThrough(const QString &steps, Ending ending)
    {
        play();
        QString heard = media.fileName().mid(3, 1);
        for (const QChar step : steps) {
            if (step == u'b')
                media.breakTrack();
            else
                ending == Ending::Reported ? media.finishTrack() : media.followQueued();
            settle(transport());
            heard += media.fileName().mid(3, 1);
        }
        return heard;
    }

    std::mt19937 source{11};
};

// The same table holds whether the commands come while the track opens or after it has
// opened (when its lyrics are still looked up, which holds no command back).
TEST_F(PlayerTest, PlayPauseAndStopFollowTheStateTableAlsoWhileATrackOpens)
{
    EXPECT_EQ(state(), "paused");
    transport().PauseSong(); // nothing loaded: no resume
    EXPECT_TRUE(media.log.isEmpty());

    media.setDuration(song('a'), 200.5);
    load(songs("ab"));
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
        load(songs("abc"), before);
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

// An entry that cannot be played is skipped in the direction the user went, for one pass
// at most, whatever the loop toggle says. The skip makes its entry current as next and
// previous do (NextAndPreviousWrapAndCarryTheHighlight); shuffled, it follows the shuffled order
// (ShuffledEachEntryPlaysOnceARound...).
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
    for (const bool loop : {true, false}) {
        for (const auto &[letters, start, command, opens, expected] : cases) {
            SCOPED_TRACE(testing::Message() << letters << " loop " << loop);
            load(songs(letters), start);
            transport().setLoopMode(loop);
            if (command != Play)
                play();
            media.log.clear();
            run(command);
            settle(transport());
            EXPECT_EQ(opened(), opens);
            EXPECT_EQ(sounding(), expected);
            transport().StopSong();
        }
    }
    // The skip goes on from the entry that failed, though the arrow keys moved on meanwhile.
    media.holdOpens(true);
    load(songs("xab"));
    transport().PlaySong();
    list().setCurrentEntry(2);
    media.answerOpen();
    QCoreApplication::sendPostedEvents();
    media.answerOpen();
    EXPECT_EQ(media.fileName(), song('a'));
    EXPECT_EQ(current(), song('a'));
}

// Reports about a track that was replaced never move the playlist or the play state, and its
// lyrics never show.
TEST_F(PlayerTest, ReportsAboutEarlierTracksAreDropped)
{
    media.holdOpens(true);
    load(songs("abc"));
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

    // The song's lyrics come in after x has replaced it and failed, with nothing loaded: a track
    // that started meanwhile would hide their wrong arrival by clearing them.
    loadLyricSong(Lyric);
    transport().PlaySong();
    media.answerOpen(); // the song's lookup runs
    load(songs("x"));
    transport().PlaySong();
    media.answerOpen();
    settle(transport());
    EXPECT_EQ(state(), "stopped");
    EXPECT_EQ(position().ListLyric().count(), 0);
}

TEST_F(PlayerTest, ShutdownCancelsWhatIsUnderWayAndNothingStartsAfterIt)
{
    load(songs("xab"));
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

TEST_F(PlayerTest, TheKnobSeeksWithinTheTrackTicksMoveItForwardOnlyAndLengthsRescaleIt)
{
    player.clickPanel(200, PositionTrack.bottom);
    EXPECT_EQ(media.log.last(), "seek 0") << "before any track a seek goes to 0";
    media.setDuration(song('a'), 218); // a pixel a second
    media.setDuration(song('b'), 0);
    media.setDuration(song('c'), 54);
    load(songs("abc"));
    play();

    // The grip left of the travel: time 0.
    EXPECT_TRUE(player.clickPanel(PositionTrack.left + 5, PositionTrack.bottom));
    EXPECT_EQ(position().knob().left(), PositionTrack.left + 5 - PositionTrack.grip);
    EXPECT_EQ(media.log.last(), "seek 0");
    position().onTimerMain();
    EXPECT_EQ(position().knob().left(), PositionTrack.left)
        << "the next tick brings the knob back in";

    const int at100 = PositionTrack.left + PositionTrack.grip + 100;
    player.clickPanel(at100, PositionTrack.bottom); // the lower band edge counts
    EXPECT_EQ(media.log.last(), "seek 100");
    EXPECT_EQ(label(Label::LTime), "01:40") << "a seek shows its time at once";
    EXPECT_FALSE(player.clickPanel(at100, PositionTrack.top)) << "the upper band edge does not";

    play(); // a again, from its start
    // The track, the position at the tick, the knob's step from its start and the time shown. A
    // step of one pixel is ignored, the knob never moves back, and a track of unknown length leaves
    // it at its start. The time rounds halves to the even second and widens past 99 minutes.
    const QList<std::tuple<char, double, double, const char *>> ticks{
        {'a', 1, 0, "00:01"},     {'a', 100, 100, "01:40"}, {'a', 50, 100, "00:50"},
        {'b', 2.5, 0, "00:02"},   {'b', 59.5, 0, "01:00"},  {'b', 3599.4, 0, "59:59"},
        {'b', 6000, 0, "100:00"}, {'c', 10, 40, "00:10"}};
    for (const auto &[track, seconds, step, time] : ticks) {
        if (current() != song(track))
            transport().NextSong(), settle(transport());
        tickAt(seconds);
        EXPECT_EQ(position().knob().left(), PositionTrack.left + step) << track << seconds;
        EXPECT_EQ(label(Label::LTime), time);
    }
    // 218 pixels in 54 s: the knob's next step (target 59) comes at 10.28 s.
    EXPECT_EQ(position().nextTickDelay(10), 280);

    // A length told while the track plays rescales the knob (0: unknown, the knob at its start);
    // a step forward is not held at the length, which may be a guess.
    const Knob &knob = position().knob();
    media.setPosition(50);
    media.changeDuration(100);
    EXPECT_EQ(knob.left(), knob.leftAt(0.5));
    media.setDuration(song('c'), 150);
    emit media.durationChanged(media.serial() - 1);
    EXPECT_EQ(position().SongSeconds(), 100) << "the length of another track is dropped";
    media.changeDuration(218); // a step is 5 s
    media.setPosition(216);
    player.run(::Command::FastForward);
    EXPECT_EQ(media.log.last(), "seek 221");
    EXPECT_EQ(knob.left(), knob.track().right);
    media.changeDuration(0);
    EXPECT_EQ(knob.left(), knob.track().left);
    player.run(::Command::FastForward);
    EXPECT_EQ(media.log.last(), "seek 226") << "5 s while the length is unknown";
}

TEST_F(PlayerTest, VolumeAndBalanceComeFromTheKnobsAndThePresets)
{
    SoundControls &sound = player.sound();
    EXPECT_TRUE(player.clickPanel(VolumeTrack.right, VolumeTrack.bottom));
    EXPECT_EQ(media.volume(), -400);
    // The remote control's fraction: the knob's travel spans -40 … 0 dB, but the quietest
    // volume sent is -30 dB; what is not a number changes nothing. (Half the travel, -20 dB,
    // is the whole-program remote control test's.)
    const QList<std::tuple<double, int, double>> fractions{
        {1, 0, 1},         {0.75, -1000, 0.75}, {qQNaN(), -1000, 0.75},
        {0.1, -3000, 0.1}, {1.7, 0, 1},         {-0.3, -3000, 0}};
    for (const auto &[fraction, volume, readBack] : fractions) {
        sound.setVolumeFraction(fraction);
        EXPECT_EQ(media.volume(), volume) << fraction;
        EXPECT_NEAR(sound.volumeFraction(), readBack, 1e-6) << fraction;
    }
    // The steps stop at either end of the travel.
    for (const auto &[step, knob, volume] :
         {std::tuple{&SoundControls::VolumeDown, VolumeTrack.left, -3000},
          {&SoundControls::VolumeUp, VolumeTrack.right, 0}}) {
        for (int i = 0; i < 40; ++i)
            (sound.*step)();
        EXPECT_EQ(sound.volumeKnob().left(), knob);
        EXPECT_EQ(media.volume(), volume);
    }
    sound.MuteSong();
    sound.VolumeDown();
    EXPECT_TRUE(sound.MutedFlag() && media.isMuted()) << "the volume changes under the mute";
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
    EXPECT_TRUE(player.clickPanel(BalanceTrack.left, BalanceTrack.top + 2));
    EXPECT_EQ(sound.balancePreset(), Preset::Stereo) << "a click keeps the marks";
}

TEST_F(PlayerTest, SavedListComesBackWithItsFirstPlayableSongPausedAndItsLyrics)
{
    player.start({});
    settle(transport());
    EXPECT_EQ(media.log, QStringList{"volume 0"}) << "no list, no arguments: nothing opens";

    const QString broken = path("broken.mp3");
    media.failOpen(broken);
    writeFile(path("zorvan.m3u"), "broken.mp3\r\n/m/a.mp3\r\n/m/b.mp3\r\n");
    writeFile(path("lrc/a.lrc"), Lyric);
    session.setListLyricDir({path("none/"), path("lrc/")});
    writeFile(path("pictures/cover.jpg"), "x");
    // Arguments that give no song bring the list back: none at all (as the main window's start
    // test has it) and missing files go the same way; here a folder without any.
    player.start(songsFromArguments({"pictures"}, dir.path()));
    settle(transport());
    EXPECT_EQ(list().count(), 3);
    EXPECT_EQ(sounding(), "paused -");
    EXPECT_EQ(media.log.filter("open "), (QStringList{"open " + broken, "open /m/a.mp3"}));
    EXPECT_FALSE(media.log.contains("play")) << "loaded without a moment of sound";
    EXPECT_EQ(current(), song('a'));
    EXPECT_EQ(label(Label::LTime), "00:00");
    EXPECT_EQ(lyricLabels(), "T - A") << "from the lyric folders, while the song waits";
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
    player.clickPanel(PositionTrack.left + PositionTrack.grip + 6, PositionTrack.bottom); // 6 s
    EXPECT_EQ(lyricLabels(), "first ") << "a seek shows its line at once";
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
    // A seek while paused runs the timer (SeekToATimeGoesThroughTheKnob).
    player.clickPanel(100, PositionTrack.bottom);
    EXPECT_EQ(position().nextTickDelay(69), PlaybackPosition::LongestTickMs)
        << "a paused track stands still";
}

// The play order as the transport plays it: shuffle, loop, the stop after a pass of tracks
// too short to hear or broken off, the follower the backend is told, and lengths that change.

// Whether `letters` holds each of the letters of `all` once.
bool isRound(QString letters, const char *all)
{
    std::sort(letters.begin(), letters.end());
    return letters == QLatin1String(all);
}

// Shuffled, each entry plays once a round, in a new order each round; entries that cannot be
// played are skipped along the same order. Each step makes its entry current as next does
// (NextAndPreviousWrapAndCarryTheHighlight), a follower as TheFollowerIsTold... checks.
TEST_F(PlayerTest, ShuffledEachEntryPlaysOnceARoundWhetherTracksEndOrFollow)
{
    QStringList heard;
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        source.seed(11);
        load(songs("abcd"));
        transport().setRandomMode(true);
        heard << playThrough(QString(11, u'e'), ending);
        transport().StopSong();
        transport().setRandomMode(false);
    }
    for (int round = 0; round < 3; ++round)
        EXPECT_TRUE(isRound(heard[0].mid(round * 4, 4), "abcd")) << heard[0].toStdString();
    EXPECT_NE(heard[0].mid(4, 4), heard[0].mid(8, 4));
    EXPECT_EQ(heard[1], heard[0]) << "the follower is the order's next";

    load(songs("abxc"));
    transport().setRandomMode(true);
    media.log.clear();
    play();
    for (int i = 0; i < 10 && opened().size() < 8; ++i)
        media.finishTrack(), settle(transport());
    EXPECT_TRUE(isRound(opened().left(4), "abcx") && isRound(opened().mid(4, 4), "abcx"))
        << opened().toStdString();
}

// Playback stops at the end of the last entry without the loop, and after a pass of the order
// in which no track played for half a second of its own, as a pass of failures does; a track
// that breaks off counts as one. A track that plays long enough starts a new pass, around the
// list. (One short track alone is the whole-program order test's.)
TEST_F(PlayerTest, PlaybackStopsAtTheEndWithoutTheLoopOrAfterAPassOfTracksTooShortToHear)
{
    const struct Row
    {
        const char *letters, *steps, *heard, *state;
        bool loop = true;
    } rows[] = {{"abc", "eee", "abcc", "stopped", false},
                {"st", "ee", "stt", "stopped"},
                {"sa", "eeee", "sasas", "playing"},
                {"xs", "e", "ss", "stopped"}, // x failed: one of the pass
                {"abc", "beebbb", "abcabc", "stopped"}};
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        for (const Row &row : rows) {
            load(songs(row.letters));
            transport().setLoopMode(row.loop);
            EXPECT_EQ(playThrough(row.steps, ending), row.heard) << int(ending);
            EXPECT_EQ(state(), row.state) << row.letters << int(ending);
            transport().StopSong();
        }
    }
    // The last entry has no follower, so both endings stop alike: it stays loaded, shown at
    // its end, and resumed it starts again.
    load(songs("c"));
    transport().setLoopMode(false);
    EXPECT_EQ(playThrough("e", Ending::Reported), "cc");
    EXPECT_NE(transport().loadedTrack(), 0u);
    EXPECT_EQ(label(Label::LTime), "03:20");
    EXPECT_EQ(position().knob().left(), position().knob().track().right);
    transport().PauseSong();
    transport().PauseSong();
    settle(transport());
    EXPECT_EQ(state() + opened().back(), "playingc");
}

// While a track plays the backend is told the order's next entry, again whenever it
// changes; when it follows on, it becomes current as if it had opened.
TEST_F(PlayerTest, TheFollowerIsToldAndStartsAsIfItHadOpened)
{
    media.setTags(song('b'), "Band", "Second");
    media.setDuration(song('b'), 100);
    load(songs("abcd"));
    play();
    EXPECT_EQ(media.queued, QStringList{song('b')});
    media.followQueued();
    emit media.followed(media.serial() + 100); // never queued: dropped
    EXPECT_EQ(opened(), "a");
    EXPECT_EQ(transport().loadedTrack(), media.serial());
    EXPECT_EQ(label(Label::LInfo), "Band - Second");
    EXPECT_EQ(position().SongSeconds(), 100);
    // What the user does, and the follower told then ("-": nothing).
    const std::pair<std::function<void()>, QString> steps[] = {
        {[&] { transport().PauseSong(), transport().PauseSong(); }, "-"},
        {[&] { transport().setLoopMode(false), list().setCurrentEntry(3); }, ""},
        {[&] { list().append({song('a')}); }, song('a')},
        {[&] { list().clear(); }, ""},
    };
    for (const auto &[act, told] : steps) {
        const QStringList before = media.queued;
        act();
        EXPECT_EQ(media.queued, told == "-" ? before : before + QStringList{told})
            << told.toStdString();
    }
}

} // namespace
