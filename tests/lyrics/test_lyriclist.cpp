#include "lyrics/lyriclist.h"

#include <cmath>

#include <gtest/gtest.h>

#include "support/qtprinters.h"

namespace {

TEST(LyricList, KeepsTimeOrderWithTheHeaderFirst)
{
    LyricList list;
    list.insert({"0012.00#Second ##", "0009.50#First ##", "   0.00#Song - Singer",
                 "0000.00#At once ##", "10000.00#Late ##", "9999.99#Before late ##"});
    EXPECT_EQ(list.items(),
              QStringList({"   0.00#Song - Singer", "0000.00#At once ##", "0009.50#First ##",
                           "0012.00#Second ##", "9999.99#Before late ##", "10000.00#Late ##"}));
}

// Items of one time follow their text without regard to case; items equal but for case
// keep the order they came in, also across separate insertions.
TEST(LyricList, OrdersEqualTimesByTextAndKeepsTiesInInsertionOrder)
{
    LyricList list;
    list.insert({"0001.00#b ##", "0001.00#a ##", "0001.00#B ##"});
    list.insert({"0001.00#A ##", "0001.00#b ##"});
    EXPECT_EQ(list.items(), QStringList({"0001.00#a ##", "0001.00#A ##", "0001.00#b ##",
                                         "0001.00#B ##", "0001.00#b ##"}));
}

struct ItemCase
{
    const char *name;
    QString item;
    double seconds;
    QString shown;
};

class LyricListItem : public testing::TestWithParam<ItemCase>
{
};

TEST_P(LyricListItem, ReadsTimeAndShownText)
{
    LyricList list;
    list.insert({GetParam().item});
    EXPECT_EQ(list.seconds(0), GetParam().seconds);
    EXPECT_EQ(list.shownText(0), GetParam().shown);
}

constexpr double Never = INFINITY;

INSTANTIATE_TEST_SUITE_P(
    Items, LyricListItem,
    testing::Values(ItemCase{"timed", "0083.45#Hello ##", 83.45, "Hello "},
                    ItemCase{"header", "   0.00#Song - Singer", 0, "Song - Singer"},
                    ItemCase{"hash_in_text", "0001.00#a#b ##", 1, "a"},
                    ItemCase{"no_text", "0001.00##", 1, ""},
                    ItemCase{"long_time", "12345.67#x ##", 12345.67, "x "},
                    ItemCase{"no_mark", "0001.00 text", Never, ""},
                    ItemCase{"not_a_number", "nan#text ##", Never, "text "}),
    [](const testing::TestParamInfo<ItemCase> &info) { return std::string(info.param.name); });

TEST(LyricList, RejectsSelectionsOutOfRange)
{
    LyricList list;
    EXPECT_FALSE(list.select(0));
    EXPECT_EQ(list.selectedIndex(), -1);
    list.insert({"0001.00#A ##", "0002.00#B ##"});
    ASSERT_TRUE(list.select(1));
    EXPECT_FALSE(list.select(2));
    EXPECT_FALSE(list.select(-1));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_TRUE(std::isinf(list.seconds(2)));
    EXPECT_EQ(list.shownText(-1), QString());
}

TEST(LyricList, InsertAndClearDropTheSelection)
{
    LyricList list;
    list.insert({"0001.00#A ##"});
    list.select(0);
    list.insert({"0000.50#Z ##"});
    EXPECT_EQ(list.selectedIndex(), -1);
    list.select(1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_FALSE(list.select(0));
}

} // namespace
