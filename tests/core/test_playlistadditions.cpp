#include "core/playlistadditions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/songline.h"
#include "core/typeahead.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// A playlist file holds "x.mp3" (beside it) and "/y.mp3"; each row adds `paths` to the list
// `before` with its current entry, by the dialog, a drop on the list or a drop on the skin.
// Plain songs dropped on the list are the main window's drop test.
TEST(PlaylistAdditions, ChosenAndDroppedFilesEnterTheList)
{
    QTemporaryDir dir;
    const QString list =
        writeFile(dir.filePath("list.M3U"), "#EXTM3U\r\n#EXTINF:1,x\r\nx.mp3\r\n/y.mp3\r\n");
    const QString x = dir.filePath(QStringLiteral("x.mp3"));
    const QString gone = dir.filePath(QStringLiteral("gone.m3u"));
    const auto dialog = addChosenSongs, onList = addDroppedOnList, onSkin = addDroppedOnSkin;
    const struct
    {
        void (*add)(Playlist &, const QStringList &);
        QStringList before;
        int currentBefore;
        QStringList paths, after;
        int currentAfter;
    } cases[] = {
        {dialog, {}, -1, {"/a.mp3", list}, {"/a.mp3", x, "/y.mp3"}, 0},
        {dialog, {"/a", "/b"}, 1, {}, {"/a", "/b"}, 0}, // a cancel: the first is current
        {dialog, {}, -1, {gone, "/b.mp3"}, {"/b.mp3"}, 0},
        {dialog, {}, -1, {"/l.m3u8"}, {"/l.m3u8"}, 0}, // m3u8 is no playlist
        {onList, {"/z"}, -1, {'"' + list + '"'}, {"/z", x, "/y.mp3"}, 0},
        // Only the first on the skin, as it is; a playlist is an item there.
        {onSkin, {"/z"}, -1, {"\"/q.mp3\"", "/b.mp3"}, {"/z", "\"/q.mp3\""}, -1},
        {onSkin, {"/z"}, 0, {list}, {"/z", list}, 0},
    };
    for (const auto &[add, before, currentBefore, paths, after, currentAfter] : cases) {
        Playlist playlist;
        playlist.append(before);
        playlist.setCurrentEntry(currentBefore);
        add(playlist, paths);
        EXPECT_EQ(playlist.songs(), after) << paths.join(u' ').toStdString();
        EXPECT_EQ(playlist.CurrentEntry(), currentAfter) << paths.join(u' ').toStdString();
    }
}

// Keeping only the highlighted songs: they stay in their order; the current entry follows its
// row, or there is none when its row went.
TEST(PlaylistTest, RemoveNotHighlightedKeepsTheHighlightedSongsOnly)
{
    // The rows highlighted, the current entry, the songs kept and the current entry after.
    const std::tuple<QList<int>, int, QStringList, int> cases[] = {
        {{1, 4}, 4, {"2", "5"}, 1},
        {{}, 0, {}, -1},
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

TEST(SongLine, TagsOrTheFileName)
{
    // The author and title tags, the path and the song line.
    const QList<std::tuple<QString, QString, QString, QString>> cases{
        {"", "歌名", "/m/a.mp3", " - 歌名"},
        {"", "", "/m/音乐/一.二.mp3", "一.二"},
        {"", "", "/m/.hidden", ".hidden"},
        {"", "", "http://radio.example/live/stream.mp3?id=1", "stream"},
    };
    for (const auto &[author, title, path, line] : cases)
        EXPECT_EQ(songLine(author, title, path), line) << qPrintable(path);
}

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
        // Whether its first letter goes on with the search rather than acting as a key
        // command (P plays, M mutes).
        bool continues;
        const char *why;
    };
    const Step steps[] = {
        {"A", 0, 0, false, "any case, from the first row when none is current"},
        {"l", 1000, 0, true, "a letter within a second gathers; the entry that holds them stays"},
        {"a", 5000, 1, false, "a new search begins after the current entry"},
        {"b", 5500, 3, true, "\"ab\" is in no name before the last one"},
        {"bet", 9000, 3, false, "goes round past the end; a folder's name does not count"},
        {"x", 20000, -1, false, "no name holds it"},
        {"D", 30000, 2, false, "from the top again when no row was found"},
    };
    TypeAhead typeAhead;
    int current = -1;
    for (const Step &step : steps) {
        EXPECT_EQ(typeAhead.continuesSearch(QChar(step.letters[0]), step.at), step.continues)
            << step.letters << ": " << step.why;
        current = typeAhead.find(list, step.letters, step.at, current);
        EXPECT_EQ(current, step.expected) << step.letters << ": " << step.why;
    }
    EXPECT_FALSE(typeAhead.continuesSearch(u'+', 30500)) << "a sign is a key command";
}

} // namespace
