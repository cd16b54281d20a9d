#include <QSignalSpy>
#include <QUrl>

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
    // A folder of `count` songs 1.mp3, 2.mp3, …
    void makeBigFolder(int count)
    {
        for (int i = 1; i <= count; ++i)
            writeFile(path(QStringLiteral("big/%1.mp3").arg(i)), {});
    }
};

// Arguments that name nothing are told for what they are; names the system cannot hold are
// not told as missing files.
TEST_F(PlaylistFeedTest, FoldersGiveTheirSoundFilesInPlaceSortedByNameAndTheFirstSongPlays)
{
    for (const char *name : {"a.wav", "f/2.mp3", "f/1.wma", "f/b.WAV", "f/cover.jpg", "f/notes.txt",
                             "f/sub/deep.mp3", "none/cover.jpg"})
        writeFile(path(QLatin1String(name)), "x");
    writeFile(path("list.M3U"), "one.mp3\r\n");
    const QStringList folder{path("f/1.wma"), path("f/2.mp3"), path("f/b.WAV")};
    const QString badName = QString::fromUtf8("Beyonc\xe9.mp3");
    const QString longPath = QStringLiteral("folder/").repeated(600) + "a.wav";
    const CommandLineSongs given =
        songsFromArguments({"a.wav", "f", "gone.mp3", badName, longPath, "list.M3U", "none", "f",
                            QUrl::fromLocalFile(path("a.wav")).toString()},
                           dir.path());
    EXPECT_EQ(given.problems, (QStringList{"no such file or folder: gone.mp3",
                                           "the name is not valid UTF-8: Beyonc\uFFFD.mp3",
                                           "the path is longer than 4095 bytes: " + longPath}));
    player.start(given);
    settle(transport());
    EXPECT_EQ(list().songs(), QStringList{path("a.wav")} + folder + QStringList{path("one.mp3")} +
                                  folder + QStringList{path("a.wav")});
    EXPECT_EQ(media.log.filter("open "), QStringList{"open " + path("a.wav")});
    EXPECT_EQ(state(), "playing");
}

TEST_F(PlaylistFeedTest, ABigFolderArrivesInBatchesItsFirstSongAheadOfThemAndPlaying)
{
    const int count = 2 * PlaylistFeed::BatchSongs + 1;
    makeBigFolder(count);
    QSignalSpy batches(&list(), &Playlist::rowsInserted);
    player.start(songsFromArguments({"big"}, dir.path()));
    ASSERT_TRUE(deliverUntil([&] { return list().count() > 0; }));
    EXPECT_EQ(list().songs(), QStringList{path("big/1.mp3")});
    EXPECT_EQ(media.log.filter("open "), QStringList{"open " + path("big/1.mp3")});
    settle(transport());
    EXPECT_EQ(list().count(), count);
    EXPECT_EQ(batches.count(), 3);
}

// Emptying the list drops the songs still to come, whether their folder is still being listed
// or its batches are under way; songs asked for afterwards come as usual.
TEST_F(PlaylistFeedTest, EmptyingTheListDropsTheSongsStillToCome)
{
    makeBigFolder(PlaylistFeed::BatchSongs + 1);
    player.start(songsFromArguments({"big"}, dir.path()));
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

} // namespace
