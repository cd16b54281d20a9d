#include <random>

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "support/qtprinters.h"

// The play order as the transport plays it: shuffle, loop, the stop after a pass of tracks
// too short to hear, the follower the backend is told, and lengths that change.
namespace {

using Label = DisplayLabels::Label;

// How a track gets to its end: the backend reports the end, or it follows on to the queued
// entry without a gap. Both must go the same way along the order.
enum class Ending { Reported, Followed };

class OrderTest : public testing::Test, public PlayerRig
{
protected:
    OrderTest()
    {
        for (const QString &path : songs("st"))
            media.setDuration(path, 0.005);
        transport().playOrder().setRandomSource(
            [this](int bound) { return int(m_source() % unsigned(bound)); });
    }
    void loadList(const char *letters, int current = 0)
    {
        list().clear();
        list().append(songs(letters));
        list().setCurrentEntry(current);
        list().setHighlighted(current, true);
    }
    void play()
    {
        transport().PlaySong();
        settle(transport());
    }
    void end(Ending ending)
    {
        ending == Ending::Reported ? media.finishTrack() : media.followQueued();
        settle(transport());
    }
    // The letter of the song loaded, "-" for none.
    QString heard() const
    {
        return media.fileName().isEmpty() ? QStringLiteral("-") : media.fileName().mid(3, 1);
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
    QString current() { return list().song(list().CurrentEntry()); }
    QString lastQueued() const { return media.queued.value(media.queued.size() - 1, "none"); }

    std::mt19937 m_source{11};
};

bool isRound(QString letters, const QString &all)
{
    std::sort(letters.begin(), letters.end());
    return letters == all;
}

// Shuffled, each entry plays once a round, a new order each round, whether the tracks end
// or follow on; previous goes back through what played. The highlight follows what plays.
TEST_F(OrderTest, ShuffledEveryEntryPlaysOnceARound)
{
    QStringList heardByEnding;
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        m_source.seed(11);
        loadList("abcd", 2);
        transport().setRandomMode(true);
        play();
        QString sequence = heard();
        for (int i = 0; i < 11; ++i) {
            end(ending);
            sequence += heard();
            ASSERT_EQ(current(), media.fileName());
            ASSERT_TRUE(list().isHighlighted(list().CurrentEntry()));
            ASSERT_EQ(state(), "playing");
        }
        EXPECT_EQ(sequence.left(1), "c");
        for (int round = 0; round < 3; ++round)
            EXPECT_TRUE(isRound(sequence.mid(round * 4, 4), "abcd")) << sequence.toStdString();
        EXPECT_NE(sequence.mid(4, 4), sequence.mid(8, 4)) << "a new order each round";
        heardByEnding << sequence;

        QString back;
        for (int i = 0; i < 3; ++i) {
            transport().PreviousSong();
            settle(transport());
            back += heard();
        }
        EXPECT_EQ(back, QString(sequence[10]) + sequence[9] + sequence[8]);
        transport().StopSong();
        transport().setRandomMode(false);
    }
    EXPECT_EQ(heardByEnding.at(0), heardByEnding.at(1)) << "the follower is the order's next";
}

// Entries that cannot be played are skipped along the shuffled order, both ways: each round
// tries every entry once, and previous skips back through what was tried.
TEST_F(OrderTest, ShuffledSkipsFollowTheShuffledOrder)
{
    loadList("abxc");
    transport().setRandomMode(true);
    play();
    for (int i = 0; i < 10 && opened().size() < 8; ++i)
        end(Ending::Reported);
    const QString tried = opened();
    ASSERT_GE(tried.size(), 8);
    EXPECT_TRUE(isRound(tried.left(4), "abcx")) << tried.toStdString();
    EXPECT_TRUE(isRound(tried.mid(4, 4), "abcx")) << tried.toStdString();

    transport().PreviousSong();
    settle(transport());
    QString back;
    for (qsizetype i = tried.size() - 2; i >= 0 && (back.isEmpty() || back.back() == u'x'); --i)
        back += tried[i];
    EXPECT_EQ(opened().mid(tried.size()), back);
    EXPECT_EQ(state(), "playing");
}

// Without the loop the last entry of the order plays to its end and playback stops there;
// next at the end still wraps around.
TEST_F(OrderTest, WithoutTheLoopPlaybackStopsAfterTheLastEntry)
{
    for (const bool shuffled : {false, true}) {
        for (const Ending ending : {Ending::Reported, Ending::Followed}) {
            SCOPED_TRACE(testing::Message() << "shuffled " << shuffled << " ending " << int(ending));
            loadList("abc");
            transport().setRandomMode(shuffled);
            transport().setLoopMode(false);
            play();
            QString sequence = heard();
            end(ending);
            sequence += heard();
            end(ending);
            sequence += heard();
            EXPECT_TRUE(isRound(sequence, "abc")) << sequence.toStdString();
            const QString before = opened();
            end(ending);
            EXPECT_EQ(state(), "stopped") << "nothing followed the last entry";
            EXPECT_EQ(heard(), sequence.back()) << "the last track stays loaded at its end";
            EXPECT_NE(transport().loadedTrack(), 0u);
            EXPECT_EQ(opened(), before);
            EXPECT_EQ(player.labels().text(Label::LTime), "03:20");
            EXPECT_EQ(position().knob().left(), position().knob().track().right);
            EXPECT_FALSE(position().isTimerMainActive());

            // Resumed (Enter twice: paused, then on) the last track starts again.
            transport().PauseSong();
            transport().PauseSong();
            settle(transport());
            EXPECT_EQ(state(), "playing");
            EXPECT_EQ(opened(), before + sequence.back());
            transport().NextSong();
            settle(transport());
            EXPECT_EQ(state(), "playing");
            EXPECT_NE(heard(), sequence.back()) << "next wraps around";
            transport().StopSong();
            transport().setLoopMode(true);
        }
    }
}

// A pass of the order in which no track played for half a second of its own time ends in a
// stop, as a pass of failures does; one track that plays long enough starts a new pass.
TEST_F(OrderTest, APassOfTracksTooShortToHearStops)
{
    struct Row
    {
        const char *letters;
        int ends;
        const char *heard; // the song loaded after each end
        const char *state;
    };
    const Row rows[] = {
        {"s", 1, "ss", "stopped"},
        {"st", 2, "stt", "stopped"},
        {"sa", 4, "sasas", "playing"},
        {"xs", 1, "ss", "stopped"}, // x failed, s played too briefly: a pass
    };
    for (const Ending ending : {Ending::Reported, Ending::Followed}) {
        for (const Row &row : rows) {
            SCOPED_TRACE(testing::Message() << row.letters << " ending " << int(ending));
            loadList(row.letters);
            media.log.clear();
            play();
            QString sequence = heard();
            for (int i = 0; i < row.ends; ++i) {
                end(ending);
                sequence += heard();
            }
            EXPECT_EQ(sequence, row.heard);
            EXPECT_EQ(state(), row.state);
            if (ending == Ending::Followed && row.letters[0] != 'x') {
                EXPECT_EQ(opened().size(), 1) << "followers open nothing";
            }
            transport().StopSong();
        }
    }
}

// The follower the backend is told: the order's next entry while a track plays, told again
// whenever that changes, and nothing at the end without the loop.
TEST_F(OrderTest, TheBackendIsToldTheNextEntryWhileATrackPlays)
{
    media.setTags(song('b'), "Band", "Second");
    media.setDuration(song('b'), 100);
    loadList("abcd");
    play();
    EXPECT_EQ(media.queued, QStringList{song('b')});

    // The follower starts as if it had opened, without a new open.
    position().knob().setLeft(100);
    media.followQueued();
    EXPECT_EQ(opened(), "a");
    EXPECT_EQ(current(), song('b'));
    EXPECT_EQ(list().selectionModel()->selectedRows(), QModelIndexList{list().index(1)});
    EXPECT_EQ(transport().loadedTrack(), media.serial());
    EXPECT_EQ(player.labels().text(Label::LInfo), "Band - Second");
    EXPECT_EQ(position().SongSeconds(), 100);
    EXPECT_EQ(position().knob().left(), position().knob().track().left);
    EXPECT_TRUE(position().isTimerMainActive());
    EXPECT_EQ(lastQueued(), song('c'));

    emit media.followed(media.serial() + 100);
    EXPECT_EQ(current(), song('b')) << "a follower never queued is dropped";

    struct Step
    {
        const char *what;
        std::function<void(OrderTest &)> act;
        QString queued; // "same": nothing told
    };
    const QList<Step> steps{
        {"pause", [](OrderTest &t) { t.transport().PauseSong(); }, "same"},
        {"resume", [](OrderTest &t) { t.transport().PauseSong(); }, "same"},
        {"the loop off", [](OrderTest &t) { t.transport().setLoopMode(false); }, "same"},
        {"the follower removed",
         [](OrderTest &t) {
             t.list().setHighlighted(1, false), t.list().setHighlighted(2, true);
             t.transport().DelSelectedSong();
         },
         song('d')},
        {"d current: the last", [](OrderTest &t) { t.list().setCurrentEntry(2); }, ""},
        {"a song added", [](OrderTest &t) { t.list().append({song('c')}); }, song('c')},
        {"the loop on, a current",
         [](OrderTest &t) { t.transport().setLoopMode(true), t.list().setCurrentEntry(0); },
         song('b')},
        {"the list emptied", [](OrderTest &t) { t.list().clear(); }, ""},
    };
    for (const Step &step : steps) {
        const qsizetype before = media.queued.size();
        step.act(*this);
        if (step.queued == "same") {
            EXPECT_EQ(media.queued.size(), before) << step.what;
        } else {
            EXPECT_EQ(media.queued.size(), before + 1) << step.what;
            EXPECT_EQ(lastQueued(), step.queued) << step.what;
        }
    }
}

// With nothing left to play, a track that ends or an entry that fails stops the player.
TEST_F(OrderTest, WithTheListEmptiedTheEndStops)
{
    loadList("ab");
    play();
    player.run(Command::DeleteAll);
    EXPECT_EQ(state(), "playing") << "the song plays on";
    media.finishTrack();
    settle(transport());
    EXPECT_EQ(state(), "stopped");

    loadList("xa");
    transport().PlaySong();
    QCoreApplication::sendPostedEvents(); // x fails; the skip is queued
    list().clear();
    settle(transport());
    EXPECT_EQ(state(), "stopped");
    EXPECT_EQ(transport().loadedTrack(), 0u);
}

// A length told while the track plays rescales the knob (0: unknown, the knob at its start);
// a step forward is not held at the length, which may be a guess.
TEST_F(OrderTest, LengthsThatChangeRescaleTheKnobAndDoNotHoldSeeks)
{
    loadList("ab");
    play();
    QSignalSpy told(&transport(), &Transport::lengthChanged);
    const Knob &knob = position().knob();
    media.setPosition(50);
    media.changeDuration(100);
    EXPECT_EQ(position().SongSeconds(), 100);
    EXPECT_EQ(knob.left(), knob.leftAt(0.5));
    emit media.durationChanged(media.serial() - 1);
    EXPECT_EQ(told.count(), 1) << "a length of another track is dropped";

    media.changeDuration(218); // a pixel a second: a step is 5 s
    // The position, the command, the seek sent and the knob's place (-1: the travel's end).
    struct Row
    {
        double at;
        Command command;
        const char *seek;
        double knob;
    };
    const Row rows[] = {
        {100, Command::FastForward, "seek 105", 105.0 / 218},
        {216, Command::FastForward, "seek 221", 1},
        {3, Command::FastPre, "seek 0", 0},
    };
    for (const Row &row : rows) {
        media.setPosition(row.at);
        player.run(row.command);
        EXPECT_EQ(media.log.last(), row.seek);
        EXPECT_NEAR(knob.left(), knob.leftAt(row.knob), 1e-3) << row.seek;
    }
    media.setPosition(230);
    position().onTimerMain();
    EXPECT_EQ(knob.left(), knob.track().right) << "past a guessed end the knob waits at its end";

    media.changeDuration(0);
    EXPECT_EQ(position().SongSeconds(), 0);
    EXPECT_EQ(knob.left(), knob.track().left);
    media.setPosition(10);
    player.run(Command::FastForward);
    EXPECT_EQ(media.log.last(), "seek 15") << "of a track of unknown length";
    EXPECT_EQ(told.count(), 3);
}

} // namespace
