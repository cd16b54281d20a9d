#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "core/playorder.h"

namespace {

using End = PlayOrder::End;
using Rows = std::vector<int>;

// A shuffled order of `count` entries with a seeded source: the same draws every run.
struct Shuffled
{
    explicit Shuffled(int count, unsigned seed = 7) : source(seed)
    {
        order.setRandomSource([this](int bound) { return int(source() % unsigned(bound)); });
        order.reset(count);
        order.setShuffled(true);
    }
    // The entries `n` steps reach.
    Rows steps(int n, int direction = 1, End end = End::Follow)
    {
        Rows rows;
        for (int i = 0; i < n; ++i)
            rows.push_back(order.step(-1, direction, end));
        return rows;
    }

    std::mt19937 source;
    PlayOrder order;
};

bool isRound(Rows rows, int count)
{
    std::sort(rows.begin(), rows.end());
    Rows all(std::size_t(count), 0);
    for (int i = 0; i < count; ++i)
        all[std::size_t(i)] = i;
    return rows == all;
}

TEST(PlayOrderTest, InListOrderStepsWrapOrStopAtTheEnds)
{
    struct Row
    {
        int current; // -1: none
        bool loops;
        int direction;
        End end;
        int expected; // -1: the order ends
    };
    const Row rows[] = {
        {0, true, 1, End::Follow, 1},   {2, true, 1, End::Follow, 0},
        {2, false, 1, End::Follow, -1}, {2, false, 1, End::Wrap, 0},
        {0, false, -1, End::Wrap, 2},   {1, false, -1, End::Wrap, 0},
        {-1, false, 1, End::Follow, 0}, {-1, true, -1, End::Wrap, 2},
    };
    for (const Row &row : rows) {
        PlayOrder order;
        order.reset(3);
        order.setLooping(row.loops);
        order.setCurrent(row.current);
        if (row.direction > 0 && row.end == End::Follow) {
            EXPECT_EQ(order.upcoming(row.current), row.expected);
        }
        EXPECT_EQ(order.step(row.current, row.direction, row.end), row.expected)
            << row.current << " loops " << row.loops << " direction " << row.direction;
        EXPECT_EQ(order.current(), row.expected < 0 ? row.current : row.expected);
    }
}

// Each round is a new draw in which every entry comes once; the entry that ended a round
// does not start the next one.
TEST(PlayOrderTest, ShuffledRoundsHoldEveryEntryOnceAndDiffer)
{
    Shuffled shuffled(5);
    shuffled.order.setCurrent(2);
    Rows played{2};
    const Rows rest = shuffled.steps(4 + 5 * 6);
    played.insert(played.end(), rest.begin(), rest.end());
    std::set<Rows> rounds;
    for (std::size_t start = 0; start < played.size(); start += 5) {
        const Rows round(played.begin() + long(start), played.begin() + long(start) + 5);
        EXPECT_TRUE(isRound(round, 5)) << "round from " << start;
        if (start > 0) {
            EXPECT_NE(round.front(), played[start - 1]) << "no repeat across rounds";
        }
        rounds.insert(round);
    }
    EXPECT_GT(rounds.size(), 4u) << "a new order each round";
}

TEST(PlayOrderTest, WithoutTheLoopAShuffledRoundEndsThePlay)
{
    Shuffled shuffled(3);
    const Rows round = shuffled.steps(3);
    EXPECT_TRUE(isRound(round, 3));
    shuffled.order.setLooping(false); // the next round, drawn ahead, goes
    EXPECT_EQ(shuffled.order.upcoming(round.back()), -1);
    EXPECT_EQ(shuffled.order.step(-1, 1, End::Follow), -1);
    EXPECT_EQ(shuffled.order.current(), round.back());
    const int wrapped = shuffled.order.step(-1, 1, End::Wrap);
    EXPECT_NE(wrapped, round.back()) << "next at the end starts a new round";
    EXPECT_TRUE(isRound(Rows{wrapped, shuffled.steps(1)[0], shuffled.steps(1)[0]}, 3));
}

// Previous goes back through what played, next forward through it again and then on with
// the round; before the first entry played, previous takes the last one planned.
TEST(PlayOrderTest, PreviousGoesBackThroughTheEntriesPlayed)
{
    Shuffled shuffled(6);
    const Rows forward = shuffled.steps(4);
    EXPECT_EQ(shuffled.steps(3, -1, End::Wrap), (Rows{forward[2], forward[1], forward[0]}));
    EXPECT_EQ(shuffled.steps(3), (Rows{forward[1], forward[2], forward[3]}));
    Rows round = forward;
    for (const int row : shuffled.steps(2))
        round.push_back(row);
    EXPECT_TRUE(isRound(round, 6));

    Shuffled fresh(6);
    const int first = fresh.steps(1)[0];
    const int last = fresh.order.step(-1, -1, End::Wrap);
    EXPECT_NE(last, first);
    EXPECT_EQ(fresh.steps(1)[0], first) << "the wrapped-to entry counts as played before";
    Rows rest{first, last};
    for (const int row : fresh.steps(4))
        rest.push_back(row);
    EXPECT_TRUE(isRound(rest, 6)) << "and it does not come again in the round";
}

// What the list does to a shuffled round: an entry added comes in the rest of it, one
// removed does not come, the removed current one leaves the order going on from its place,
// and an entry the user picks counts as played.
TEST(PlayOrderTest, ShuffledRoundsFollowTheList)
{
    // Two entries of five played, the list edited; the round, renumbered, ends with `steps`.
    const auto check = [](const char *name, auto edit, int steps) {
        SCOPED_TRACE(name);
        Shuffled shuffled(5);
        Rows round = shuffled.steps(2);
        edit(shuffled.order, round);
        for (const int row : shuffled.steps(steps))
            round.push_back(row);
        EXPECT_TRUE(isRound(round, shuffled.order.count())) << testing::PrintToString(round);
        EXPECT_NE(shuffled.order.step(-1, 1, End::Follow), round.back());
    };
    check("two added at the start", [](PlayOrder &order, Rows &played) {
        order.insertRows(0, 2);
        for (int &row : played)
            row += 2;
    }, 5);
    check("one added at the end", [](PlayOrder &order, Rows &) { order.insertRows(5, 1); }, 4);
    check("one planned removed", [](PlayOrder &order, Rows &played) {
        const int removed = order.upcoming(played.back());
        order.removeRows(removed, 1);
        for (int &row : played)
            row -= row > removed ? 1 : 0;
    }, 2);
    check("one planned picked", [](PlayOrder &order, Rows &played) {
        const int picked = order.upcoming(order.upcoming(played.back()));
        order.setCurrent(picked);
        played.push_back(picked);
    }, 2);
    check("the current one removed", [](PlayOrder &order, Rows &played) {
        const int removed = played.back();
        order.removeRows(removed, 1);
        played.pop_back();
        for (int &row : played)
            row -= row > removed ? 1 : 0;
        EXPECT_EQ(order.current(), -1);
        const int ahead = order.upcoming(-1);
        EXPECT_EQ(order.step(-1, -1, End::Wrap), played.front()) << "back to the one before";
        EXPECT_EQ(order.step(-1, 1, End::Wrap), ahead) << "and on as before the removal";
        played.push_back(ahead);
    }, 2);
}

} // namespace
