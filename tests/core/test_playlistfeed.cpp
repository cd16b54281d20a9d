#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/command.h"
#include "core/commandline.h"
#include "fakes/playerrig.h"
#include "support/files.h"
#include "support/qtprinters.h"

// Folders given at start-up are listed off the user-interface thread and their songs join the
// list in batches; what the list holds in the end and which song plays first.
namespace {

class PlaylistFeedTest : public testing::Test, public PlayerRig
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList paths(const QStringList &names) const
    {
        QStringList all;
        for (const QString &name : names)
            all << path(name);
        return all;
    }
    void start(const QStringList &arguments)
    {
        player.start(songsFromArguments(arguments, dir.path()));
    }
    // A folder of `count` songs 1.mp3, 2.mp3, …
    void makeBigFolder(int count)
    {
        for (int i = 1; i <= count; ++i)
            writeFile(path(QStringLiteral("big/%1.mp3").arg(i)), {});
    }
    QString opened() const { return media.log.filter("open ").join(u'|').remove("open "); }
};

TEST_F(PlaylistFeedTest, FoldersGiveTheirSoundFilesInPlaceSortedByNameAndTheFirstSongPlays)
{
    for (const char *name : {"a.wav", "f/2.mp3", "f/1.wma", "f/b.WAV", "f/cover.jpg",
                             "f/notes.txt", "f/sub/deep.mp3", "none/cover.jpg"})
        writeFile(path(QLatin1String(name)), "x");
    writeFile(path("list.m3u"), "one.mp3\r\n");
    const QStringList folder = paths({"f/1.wma", "f/2.mp3", "f/b.WAV"});
    struct Case
    {
        QStringList arguments;
        QStringList list;
    };
    const QList<Case> cases{
        {{"a.wav", "f", "list.m3u", "none", "f"},
         paths({"a.wav"}) + folder + paths({"one.mp3"}) + folder},
        // The first song in order plays, though a later one was known at once.
        {{"none", "f", "a.wav"}, folder + paths({"a.wav"})},
    };
    for (const auto &[arguments, list] : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        transport().ListSong().clear();
        media.log.clear();
        start(arguments);
        settle(transport());
        EXPECT_EQ(transport().ListSong().songs(), list);
        EXPECT_EQ(opened(), list.first());
        EXPECT_EQ(state(), "playing");
    }
}

TEST_F(PlaylistFeedTest, ABigFolderArrivesInBatchesItsFirstSongPlayingWithTheFirst)
{
    const int count = 2 * PlaylistFeed::BatchSongs + 1;
    makeBigFolder(count);
    QSignalSpy batches(&list(), &Playlist::rowsInserted);
    start({"big"});
    ASSERT_TRUE(deliverUntil([&] { return list().count() > 0; }));
    EXPECT_EQ(list().count(), PlaylistFeed::BatchSongs);
    EXPECT_EQ(opened(), path("big/1.mp3"));
    settle(transport());
    EXPECT_EQ(list().count(), count);
    EXPECT_EQ(batches.count(), 3);
}

// Emptying the list drops the songs still to come, whether their folder is still being listed
// or its batches are under way; songs asked for afterwards come as usual.
TEST_F(PlaylistFeedTest, EmptyingTheListDropsTheSongsStillToCome)
{
    makeBigFolder(PlaylistFeed::BatchSongs + 1);
    start({"big"});
    player.run(Command::DeleteAll);
    settle(transport());
    EXPECT_EQ(list().count(), 0) << "dropped while listed";

    transport().openSongs(songsFromArguments({"big"}, dir.path()));
    ASSERT_TRUE(deliverUntil([&] { return list().count() > 0; }));
    player.run(Command::DeleteAll);
    settle(transport());
    EXPECT_EQ(list().count(), 0) << "dropped between batches";

    transport().openSongs(songsFromArguments({"big", "big"}, dir.path()));
    settle(transport());
    EXPECT_EQ(list().count(), 2 * (PlaylistFeed::BatchSongs + 1));
}

// Arguments whose folders hold no song leave the list of the previous run as it was.
TEST_F(PlaylistFeedTest, FoldersWithoutSongsBringBackTheSavedList)
{
    writeFile(path("zorvan.m3u"), "/m/a.mp3\r\n/m/b.mp3\r\n");
    writeFile(path("pictures/cover.jpg"), "x");
    start({"pictures"});
    settle(transport());
    EXPECT_EQ(list().songs(), songs("ab"));
    EXPECT_EQ(opened(), song('a'));
    EXPECT_EQ(state(), "paused");
}

} // namespace
