#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "support/qtprinters.h"

// The play order as the transport plays it: shuffle, loop, the stop after a pass of tracks
// too short to hear, the follower the backend is told, and lengths that change.
namespace {

// How tracks get to their ends: the backend reports the end, or the track follows on to
// the queued entry without a gap. Both must go the same way along the order.
enum class Ending { Reported, Followed };

class OrderTest : public testing::Test, public PlayerRig
{
protected:
    OrderTest()
    {
        for (const QString &path : songs("st"))
            media.setDuration(path, 0.005);
        transport().playOrder().setRandomSource(
            [this](int bound) { return int(source() % unsigned(bound)); });
    }
    void load(const char *letters)
    {
        list().clear();
        list().append(songs(letters));
        list().setCurrentEntry(0);
    }
    // Plays the current entry and lets `ends` tracks end; the letters of the songs heard.
    QString playThrough(int ends, Ending ending)
    {
        transport().PlaySong();
        settle(transport());
        QString heard = media.fileName().mid(3, 1);
        while (ends-- > 0) {
            ending == Ending::Reported ? media.finishTrack() : media.followQueued();
            settle(transport());
            heard += media.fileName().mid(3, 1);
        }
        return heard;
    }
    QString opened() const
    {
        QString letters;
        for (const QString &call : media.log.filter(QStringLiteral("open /m/")))
            letters += call.at(8);
        return letters;
    }
    QString state()
    {
        return QStringList{"stopped", "playing", "paused"}.at(int(transport().playState()));
    }

    std::mt19937 source{11};
};

bool isRound(QString letters, const char *all)
{
    std::sort(letters.begin(), letters.end());
    return letters == QLatin1String(all);
}

// Shuffled, each entry plays once a round, in a new order each round, and the highlight
// follows; entries that cannot be played are skipped along the same order.
TEST_F(OrderTest, ShuffledEachEntryPlaysOnceARoundWhetherTracksEndOrFollow)
{
    QStringList heard;
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        source.seed(11);
        load("abcd");
        transport().setRandomMode(true);
        heard << playThrough(11, ending);
        EXPECT_EQ(list().song(list().CurrentEntry()), media.fileName());
        EXPECT_EQ(list().selectionModel()->selectedRows().size(), 1);
        transport().StopSong();
        transport().setRandomMode(false);
    }
    for (int round = 0; round < 3; ++round)
        EXPECT_TRUE(isRound(heard[0].mid(round * 4, 4), "abcd")) << heard[0].toStdString();
    EXPECT_NE(heard[0].mid(4, 4), heard[0].mid(8, 4));
    EXPECT_EQ(heard[1], heard[0]) << "the follower is the order's next";

    load("abxc");
    transport().setRandomMode(true);
    media.log.clear();
    playThrough(0, Ending::Reported);
    for (int i = 0; i < 10 && opened().size() < 8; ++i)
        media.finishTrack(), settle(transport());
    EXPECT_TRUE(isRound(opened().left(4), "abcx") && isRound(opened().mid(4, 4), "abcx"))
        << opened().toStdString();
}

// Without the loop the last entry plays to its end and playback stops there; resumed, it
// starts again.
TEST_F(OrderTest, WithoutTheLoopPlaybackStopsAtTheEndOfTheLastEntry)
{
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        load("abc");
        transport().setLoopMode(false);
        EXPECT_EQ(playThrough(3, ending), "abcc");
        EXPECT_EQ(state(), "stopped");
        EXPECT_NE(transport().loadedTrack(), 0u);
        EXPECT_EQ(player.labels().text(DisplayLabels::Label::LTime), "03:20");
        EXPECT_EQ(position().knob().left(), position().knob().track().right);
        transport().PauseSong();
        transport().PauseSong();
        settle(transport());
        EXPECT_EQ(state() + opened().back(), "playingc");
        transport().StopSong();
        transport().setLoopMode(true);
    }
}

// A pass of the order in which no track played for half a second of its own stops, as a
// pass of failures does; a track that plays long enough starts a new pass.
TEST_F(OrderTest, APassOfTracksTooShortToHearStops)
{
    const struct Row
    {
        const char *letters;
        int ends;
        const char *heard, *state;
    } rows[] = {{"s", 1, "ss", "stopped"},
                {"st", 2, "stt", "stopped"},
                {"sa", 4, "sasas", "playing"},
                {"xs", 1, "ss", "stopped"}}; // x failed: one of the pass
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        for (const Row &row : rows) {
            load(row.letters);
            EXPECT_EQ(playThrough(row.ends, ending), row.heard) << int(ending);
            EXPECT_EQ(state(), row.state) << row.letters << int(ending);
            transport().StopSong();
        }
    }
}

// While a track plays the backend is told the order's next entry, again whenever it
// changes; when it follows on, it becomes current as if it had opened.
TEST_F(OrderTest, TheFollowerIsToldAndStartsAsIfItHadOpened)
{
    media.setTags(song('b'), "Band", "Second");
    media.setDuration(song('b'), 100);
    load("abcd");
    playThrough(0, Ending::Reported);
    EXPECT_EQ(media.queued, QStringList{song('b')});
    media.followQueued();
    emit media.followed(media.serial() + 100); // never queued: dropped
    EXPECT_EQ(opened(), "a");
    EXPECT_EQ(list().CurrentEntry(), 1);
    EXPECT_EQ(transport().loadedTrack(), media.serial());
    EXPECT_EQ(player.labels().text(DisplayLabels::Label::LInfo), "Band - Second");
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

// A length told while the track plays rescales the knob (0: unknown, the knob at its start);
// a step forward is not held at the length, which may be a guess.
TEST_F(OrderTest, LengthsThatChangeRescaleTheKnobAndDoNotHoldSeeks)
{
    load("a");
    playThrough(0, Ending::Reported);
    const Knob &knob = position().knob();
    media.setPosition(50);
    media.changeDuration(100);
    EXPECT_EQ(knob.left(), knob.leftAt(0.5));
    media.setDuration(song('a'), 150);
    emit media.durationChanged(media.serial() - 1);
    EXPECT_EQ(position().SongSeconds(), 100) << "the length of another track is dropped";

    media.changeDuration(218); // a step is 5 s
    media.setPosition(216);
    player.run(Command::FastForward);
    EXPECT_EQ(media.log.last(), "seek 221");
    EXPECT_EQ(knob.left(), knob.track().right);
    media.changeDuration(0);
    EXPECT_EQ(knob.left(), knob.track().left);
    player.run(Command::FastForward);
    EXPECT_EQ(media.log.last(), "seek 226") << "5 s while the length is unknown";
}

} // namespace
