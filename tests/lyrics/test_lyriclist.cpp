#include "lyrics/lyriclist.h"

#include <gtest/gtest.h>

#include "support/qtprinters.h"

namespace {

// Time order with the header first; one time's items by text regardless of case, items
// equal but for case in the order they came, across insertions too.
TEST(LyricList, KeepsTimeThenTextOrder)
{
    LyricList list;
    list.insert({"0012.00#b ##", "10000.00#Late ##", "   0.00#Song", "9999.99#Before ##",
                 "0012.00#a ##", "0012.00#B ##"});
    list.insert({"0012.00#A ##", "0000.00#Zero ##"});
    EXPECT_EQ(list.items(), QStringList({"   0.00#Song", "0000.00#Zero ##", "0012.00#a ##",
                                         "0012.00#A ##", "0012.00#b ##", "0012.00#B ##",
                                         "9999.99#Before ##", "10000.00#Late ##"}));
}

TEST(LyricList, SelectionStaysInRangeAndInsertOrClearDropsIt)
{
    LyricList list;
    list.insert({"0001.00#A ##", "0002.00#B ##"});
    ASSERT_TRUE(list.select(1));
    EXPECT_FALSE(list.select(2));
    EXPECT_FALSE(list.select(-1));
    EXPECT_EQ(list.selectedIndex(), 1);
    list.insert({"0000.50#Z ##"});
    EXPECT_EQ(list.selectedIndex(), -1);
    list.select(0);
    list.clear();
    EXPECT_FALSE(list.select(0));
}

} // namespace
