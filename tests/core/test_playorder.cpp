#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/playorder.h"

namespace {

using End = PlayOrder::End;
using Rows = std::vector<int>;

// A shuffled order of `count` entries drawing from a seeded source.
struct Shuffled
{
    explicit Shuffled(int count)
    {
        order.setRandomSource([this](int bound) { return int(source() % unsigned(bound)); });
        order.reset(count);
        order.setShuffled(true);
    }
    // The rows `n` steps reach.
    Rows steps(int n, int direction = 1, End end = End::Follow)
    {
        Rows rows;
        while (n-- > 0)
            rows.push_back(order.step(-1, direction, end));
        return rows;
    }

    std::mt19937 source{7};
    PlayOrder order;
};

// Whether `rows` holds each of the `count` entries once.
bool isRound(Rows rows, int count)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return int(rows.size()) == count && rows.front() == 0 && rows.back() == count - 1;
}

// Previous goes back through the entries played and next forward again; without the loop
// the end of a round is the end of the play.
TEST(PlayOrderTest, ShuffledPreviousGoesBackAndTheRoundEndsWithoutTheLoop)
{
    Shuffled shuffled(5);
    const Rows played = shuffled.steps(15);
    EXPECT_EQ(shuffled.steps(2, -1, End::Wrap), (Rows{played[13], played[12]}));
    EXPECT_EQ(shuffled.steps(2), (Rows{played[13], played[14]})) << "and forward again";
    shuffled.order.setLooping(false); // the round drawn ahead goes
    EXPECT_EQ(shuffled.order.step(-1, 1, End::Follow), -1) << "the end of a round ends the play";
    EXPECT_NE(shuffled.order.step(-1, 1, End::Wrap), played[14]) << "next starts a new round";

    // Before the first entry played previous wraps to the last one planned, which then
    // counts as played before it.
    Shuffled fresh(3);
    const int first = fresh.steps(1)[0];
    const int last = fresh.order.step(-1, -1, End::Wrap);
    EXPECT_TRUE(isRound({last, first, fresh.steps(2)[1]}, 3));
}

// An entry added comes in the rest of the round, one removed does not come, and once the
// current one is removed the order goes on from its place both ways.
TEST(PlayOrderTest, ShuffledRoundsFollowTheList)
{
    // Two entries of five play, the list is edited (`played` renumbered); the round ends.
    const auto check = [](const char *name, auto edit) {
        Shuffled shuffled(5);
        Rows round = shuffled.steps(2);
        edit(shuffled.order, round);
        for (const int row : shuffled.steps(shuffled.order.count() - int(round.size())))
            round.push_back(row);
        EXPECT_TRUE(isRound(round, shuffled.order.count())) << name;
    };
    const auto renumber = [](Rows &rows, int removed) {
        for (int &row : rows)
            row -= row > removed ? 1 : 0;
    };
    check("two added at the start", [](PlayOrder &order, Rows &played) {
        order.insertRows(0, 2);
        played = {played[0] + 2, played[1] + 2};
    });
    check("one planned removed", [&](PlayOrder &order, Rows &played) {
        const int removed = order.upcoming(played.back());
        order.removeRows(removed, 1);
        renumber(played, removed);
    });
    check("the current one removed", [&](PlayOrder &order, Rows &played) {
        order.removeRows(played.back(), 1);
        renumber(played, played.back());
        played.pop_back();
        const int ahead = order.upcoming(-1);
        EXPECT_EQ(order.step(-1, -1, End::Wrap), played.front()) << "back to the one before";
        EXPECT_EQ(order.step(-1, 1, End::Wrap), ahead) << "and on as before the removal";
        played.push_back(ahead);
    });
}

} // namespace
