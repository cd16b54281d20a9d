#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/typeahead.h"
#include "support/qtprinters.h"

namespace {

// What a view over the list is told and shown as songs come, the first ones into an empty list
// (taken over whole) with their information lines, the next without.
TEST(PlaylistModelTest, RowsAndTextFollowAppends)
{
    // The second name holds a byte that did not decode.
    const QStringList read{"/m/a.mp3", QStringLiteral("/m/b\xDCE9.mp3")};
    Playlist list;
    QStringList told;
    QObject::connect(&list, &Playlist::rowsInserted,
                     [&told](const QModelIndex &, int first, int last) {
                         told.append(QStringLiteral("%1-%2").arg(first).arg(last));
                     });
    list.append(read, {"#EXTINF:1,A", "#EXTINF:2,B"});
    list.append({"/m/c.mp3"});
    EXPECT_EQ(told, (QStringList{"0-1", "2-2"}));
    EXPECT_EQ(list.data(list.index(1), Qt::DisplayRole).toString(),
              QStringLiteral("/m/b\uFFFD.mp3"));
    EXPECT_EQ(list.song(1), read.at(1)) << "the song keeps its byte for the file";
    EXPECT_EQ(list.ListSongInfo(), (QStringList{"#EXTINF:1,A", "#EXTINF:2,B", "/m/c.mp3"}));
}

// Letters typed one after another, each step from the row the one before made current.
TEST(PlaylistModelTest, TypedLettersGatherAndFindTheNextNameHoldingThem)
{
    Playlist list;
    list.append({"/m/Alpha.mp3", "/m/beta/Gamma.mp3", "/music/delta.MP3", "/m/alphabet.mp3"});
    struct Step
    {
        const char *letters;
        qint64 at;
        int expected;
        const char *why;
    };
    const Step steps[] = {
        {"A", 0, 0, "any case, from the first row when none is current"},
        {"l", 900, 0, "more letters keep the entry that still holds them"},
        {"p", 1900, 0, "each letter within a second of the one before gathers"},
        {"a", 5000, 1, "a new search begins after the current entry"},
        {"b", 5500, 3, "\"ab\" is in no name before the last one"},
        {"bet", 9000, 3, "goes round past the end; a folder's name does not count"},
        {"x", 20000, -1, "no name holds it"},
        {"D", 30000, 2, "from the top again when no row was found"},
    };
    TypeAhead typeAhead;
    int current = -1;
    for (const Step &step : steps) {
        current = typeAhead.find(list, step.letters, step.at, current);
        EXPECT_EQ(current, step.expected) << step.letters << ": " << step.why;
    }
}

} // namespace
