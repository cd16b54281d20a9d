#include "lyrics/lyriclist.h"

#include <gtest/gtest.h>

#include "support/qtprinters.h"

namespace {

// Time order with the header first; one time's items by text regardless of case, items
// equal but for case in the order they came, across insertions too. A selection stays in
// range, and an insertion or a clear drops it.
TEST(LyricList, KeepsTimeThenTextOrderAndASelectionInRange)
{
    LyricList list;
    list.insert({"0012.00#b ##", "10000.00#Late ##", "   0.00#Song", "9999.99#Before ##",
                 "0012.00#a ##", "0012.00#B ##"});
    ASSERT_TRUE(list.select(5));
    EXPECT_FALSE(list.select(6) || list.select(-1));
    EXPECT_EQ(list.selectedIndex(), 5);
    list.insert({"0012.00#A ##", "0000.00#Zero ##"});
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.items(), QStringList({"   0.00#Song", "0000.00#Zero ##", "0012.00#a ##",
                                         "0012.00#A ##", "0012.00#b ##", "0012.00#B ##",
                                         "9999.99#Before ##", "10000.00#Late ##"}));
    list.clear();
    EXPECT_FALSE(list.select(0));
}

} // namespace
