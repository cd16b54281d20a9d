#include <future>

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/playlistfeed.h"
#include "fakes/playerrig.h"
#include "platform/instancerequest.h"
#include "platform/singleinstance.h"
#include "support/files.h"
#include "support/qtprinters.h"

// A folder goes to the running player as its name, however many songs it holds, and the
// running player lists it.
namespace {

// Generous: no wait here is meant to run out, however busy the machine.
constexpr int AnswerTimeoutMs = 5000;

TEST(FolderRequestTest, FoldersGoOverInTheirPlacesAmongTheSongs)
{
    using namespace Qt::StringLiterals;
    CommandLineSongs given;
    given.songs = {u"/m/a.mp3"_s, u"/m/b.mp3"_s};
    given.infos = {u"#EXTINF:1,a"_s, u"/m/b.mp3"_s};
    given.folders = {{0, u"/音乐/一"_s}, {1, u"/f/2"_s}, {1, u"/f/3"_s}, {2, u"/f/4"_s}};
    const std::optional<QByteArray> request = InstanceRequest::open(given);
    ASSERT_TRUE(request);
    const InstanceRequest::Parsed parsed = InstanceRequest::parse(*request);
    EXPECT_EQ(parsed.status, InstanceRequest::Status::Complete);
    EXPECT_EQ(parsed.size, request->size());
    EXPECT_EQ(parsed.songs.songs, given.songs);
    EXPECT_EQ(parsed.songs.infos, given.infos);
    EXPECT_EQ(parsed.songs.folders, given.folders);
}

// The running player in this thread, the later start in a thread of its own.
TEST(FolderHandOverTest, ALaterStartHandsOverAFolderWhoseSongsAllJoinTheList)
{
    QTemporaryDir folder;
    const int count = 2 * PlaylistFeed::BatchSongs + 1;
    for (int i = 1; i <= count; ++i)
        writeFile(folder.filePath(QStringLiteral("big/%1.wav").arg(i)), {});
    writeFile(folder.filePath("song.mp3"), {});
    const QString socket = folder.filePath(QStringLiteral("岚铃播放器.socket"));
    SingleInstance running{socket, AnswerTimeoutMs};
    ASSERT_EQ(running.CheckExist(), SingleInstance::Outcome::First);
    PlayerRig rig;
    QObject::connect(&running, &SingleInstance::openRequested,
                     [&](const CommandLineSongs &songs) { rig.transport().openSongs(songs); });

    const CommandLineSongs given = songsFromArguments({"big", "song.mp3"}, folder.path());
    auto outcome = std::async(std::launch::async, [&] {
        return SingleInstance(socket, AnswerTimeoutMs).CheckExist(given);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.list().count() == count + 1; }, 10000));
    EXPECT_EQ(outcome.get(), SingleInstance::Outcome::OtherActivated);
    EXPECT_EQ(rig.list().song(0), folder.filePath("big/1.wav"));
    EXPECT_EQ(rig.list().song(count), folder.filePath("song.mp3"));
    EXPECT_EQ(rig.media.fileName(), folder.filePath("big/1.wav"));
}

} // namespace
