#include "core/playlist.h"

#include <gtest/gtest.h>

#include "support/qtprinters.h"

namespace {

// Keeping only the highlighted songs: they stay in their order; the current entry follows its
// row, or there is none when its row went.
TEST(PlaylistTest, RemoveNotHighlightedKeepsTheHighlightedSongsOnly)
{
    // The rows highlighted, the current entry, the songs kept and the current entry after.
    const std::tuple<QList<int>, int, QStringList, int> cases[] = {
        {{1, 4}, 4, {"2", "5"}, 1},
        {{}, 0, {}, -1},
        {{0, 1, 2, 3, 4, 5}, 5, {"1", "2", "3", "4", "5", "6"}, 5},
        {{0, 1, 2, 3, 4}, 5, {"1", "2", "3", "4", "5"}, -1},
    };
    for (const auto &[highlighted, current, kept, currentAfter] : cases) {
        Playlist list;
        list.append({"1", "2", "3", "4", "5", "6"});
        list.setCurrentEntry(current);
        for (const int row : highlighted)
            list.setHighlighted(row, true);
        list.removeNotHighlighted();
        EXPECT_EQ(list.songs(), kept) << kept.join(u' ').toStdString();
        EXPECT_EQ(list.CurrentEntry(), currentAfter) << kept.join(u' ').toStdString();
    }
}

} // namespace
