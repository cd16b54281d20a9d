#include <gtest/gtest.h>

#include "core/playlist.h"
#include "support/qtprinters.h"

namespace {

// What a view over the list is told and shown as songs come and go.
TEST(PlaylistModelTest, RowsAndTextFollowAppendsAndRemovals)
{
    // The second name holds a byte that did not decode.
    const QStringList read{"/m/a.mp3", QStringLiteral("/m/b\xDCE9.mp3"), "/m/c.mp3"};
    Playlist list;
    QStringList told;
    const auto tell = [&told](const char *what) {
        return [&told, what](const QModelIndex &, int first, int last) {
            told.append(QStringLiteral("%1 %2-%3").arg(what).arg(first).arg(last));
        };
    };
    QObject::connect(&list, &Playlist::rowsInserted, tell("inserted"));
    QObject::connect(&list, &Playlist::rowsRemoved, tell("removed"));

    list.append(read, {"#EXTINF:1,A"});
    list.append({"/m/d.mp3"});
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.data(list.index(1), Qt::DisplayRole).toString(),
              QStringLiteral("/m/b\uFFFD.mp3"));
    EXPECT_EQ(list.song(1), read.at(1)) << "the song keeps its byte for the file";
    EXPECT_FALSE(list.data(list.index(4), Qt::DisplayRole).isValid());
    EXPECT_EQ(list.ListSongInfo(),
              (QStringList{"#EXTINF:1,A", read.at(1), "/m/c.mp3", "/m/d.mp3"}));

    list.setCurrentEntry(2);
    for (const int row : {0, 1, 3})
        list.setHighlighted(row, true);
    list.removeHighlighted();
    EXPECT_EQ(told, (QStringList{"inserted 0-2", "inserted 3-3", "removed 3-3", "removed 0-1"}));
    EXPECT_EQ(list.songs(), QStringList{"/m/c.mp3"});
    EXPECT_EQ(list.CurrentEntry(), 0) << "the current entry follows its row";
    EXPECT_EQ(read.size(), 3) << "the list it took over stays as it was";
}

} // namespace
