#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "persist/textfile.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// What cannot be written is reported for each file at shutdown (tests/app/test_full_disk.sh).
TEST(SessionTest, ComesBackAsSaved)
{
    QTemporaryDir dir;
    Session saved(dir.filePath(QStringLiteral("data")));
    EXPECT_TRUE(saved.save({QStringLiteral("/m/a.mp3")}).isEmpty());
    writeFile(saved.path(Session::File::Pictures), "one.jpg\r\n/p/two.png\r\n[END]\r\n");
    writeFile(saved.path(Session::File::LyricFolders), "/lrc/\r\n[END]\r\n");

    Session loaded(dir.filePath(QStringLiteral("data")));
    EXPECT_EQ(loaded.load().value, SettingsLoad::Applied);
    EXPECT_EQ(loaded.loadSavedList().songs, QStringList{"/m/a.mp3"});
    EXPECT_EQ(loaded.ListPic(),
              (QStringList{dir.filePath(QStringLiteral("data/one.jpg")), "/p/two.png"}));
    EXPECT_EQ(loaded.shownPicture(), 0);
    EXPECT_EQ(loaded.ListLyricDir(), QStringList{"/lrc/"}) << "the end line stays in the file";
}

TEST(SessionTest, LeavesFilesItCouldNotReadAsTheyWere)
{
    QTemporaryDir dir;
    Session session(dir.path());
    // Larger than any file the player reads: refused unread (and sparse, so cheap).
    const qint64 tooLarge = PlaylistFileLimit + 1;
    for (const Session::File file : {Session::File::Settings, Session::File::Playlist}) {
        QFile huge(session.path(file));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(tooLarge));
    }
    EXPECT_EQ(session.load().status, ReadStatus::Unreadable);
    EXPECT_TRUE(session.loadSavedList().songs.isEmpty());
    EXPECT_EQ(session.save({QStringLiteral("/m/new.mp3")}).size(), 2);
    for (const Session::File file : {Session::File::Settings, Session::File::Playlist})
        EXPECT_EQ(QFileInfo(session.path(file)).size(), tooLarge) << "left as it was";
}

} // namespace
