#include "core/playlistadditions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/songline.h"
#include "support/qtprinters.h"

namespace {

enum class Source { Dialog, ListDrop, SkinDrop };

TEST(PlaylistAdditions, ChosenAndDroppedFilesEnterTheList)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.M3U"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\r\n#EXTINF:1,x\r\nx.mp3\r\n/m/y.mp3\r\n");
    file.close();
    const QString x = dir.filePath(QStringLiteral("x.mp3"));
    const QString missing = dir.filePath(QStringLiteral("gone.m3u"));

    struct Case
    {
        const char *what;
        Source source;
        QStringList before;
        int currentBefore;
        QStringList paths;
        QStringList after;
        int currentAfter;
    };
    const QList<Case> cases{
        {"one song chosen", Source::Dialog, {}, -1, {"/m/a.mp3"}, {"/m/a.mp3"}, 0},
        {"a song and a playlist",
         Source::Dialog,
         {},
         -1,
         {"/m/a.mp3", list},
         {"/m/a.mp3", x, "/m/y.mp3"},
         0},
        {"a cancel still makes the first entry current",
         Source::Dialog,
         {"/m/a", "/m/b"},
         1,
         {},
         {"/m/a", "/m/b"},
         0},
        {"an unreadable playlist adds nothing, the rest is added",
         Source::Dialog,
         {},
         -1,
         {missing, "/m/b.mp3"},
         {"/m/b.mp3"},
         0},
        {"m3u8 is no playlist", Source::Dialog, {}, -1, {"/m/l.m3u8"}, {"/m/l.m3u8"}, 0},
        {"three dropped in order, the list's first made current",
         Source::ListDrop,
         {"/m/z"},
         -1,
         {"/m/1", "/m/2", "/m/3"},
         {"/m/z", "/m/1", "/m/2", "/m/3"},
         0},
        {"quotes come out on the list",
         Source::ListDrop,
         {},
         -1,
         {"\"/m/q\"\".mp3\""},
         {"/m/q.mp3"},
         0},
        {"a playlist dropped on the list is read",
         Source::ListDrop,
         {},
         -1,
         {'"' + list + '"'},
         {x, "/m/y.mp3"},
         0},
        {"only the first on the skin, unchanged",
         Source::SkinDrop,
         {"/m/z"},
         -1,
         {"\"/m/q.mp3\"", "/m/b.mp3"},
         {"/m/z", "\"/m/q.mp3\""},
         -1},
        {"a playlist dropped on the skin is an item",
         Source::SkinDrop,
         {"/m/z"},
         0,
         {list},
         {"/m/z", list},
         0},
    };
    for (const Case &c : cases) {
        Playlist playlist;
        playlist.append(c.before);
        playlist.setCurrentEntry(c.currentBefore);
        switch (c.source) {
        case Source::Dialog:
            addChosenSongs(playlist, c.paths);
            break;
        case Source::ListDrop:
            addDroppedOnList(playlist, c.paths);
            break;
        case Source::SkinDrop:
            addDroppedOnSkin(playlist, c.paths);
            break;
        }
        EXPECT_EQ(playlist.songs(), c.after) << c.what;
        EXPECT_EQ(playlist.CurrentEntry(), c.currentAfter) << c.what;
    }
}

TEST(SongLine, TagsOrTheFileName)
{
    struct Case
    {
        QString author;
        QString title;
        QString path;
        QString line;
    };
    const QList<Case> cases{
        {"歌手", "歌名", "/m/a.mp3", "歌手 - 歌名"},
        {"歌手", "", "/m/a.mp3", "歌手 - "},
        {"", "歌名", "/m/a.mp3", " - 歌名"},
        {"", "", "/m/音乐/一.二.mp3", "一.二"},
        {"", "", "/m/.hidden", ".hidden"},
        {"", "", "http://radio.example/live/stream.mp3?id=1", "stream"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(songLine(c.author, c.title, c.path), c.line) << qPrintable(c.path);
}

} // namespace
