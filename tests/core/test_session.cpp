#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "fakes/gate.h"
#include "persist/textfile.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// The saved list and the pictures come back through the window's start-up (tests/ui); what
// cannot be written is reported for each file at shutdown (tests/app/test_full_disk.sh).
TEST(SessionTest, LyricFoldersComeBackAsSaved)
{
    QTemporaryDir dir;
    writeFile(Session(dir.path()).path(Session::File::LyricFolders), "/lrc/\r\n[END]\r\n");
    Session loaded(dir.path());
    loaded.load();
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
    PlaylistEntries saved{{"not read"}, {}};
    session.loadSavedList([&saved](const PlaylistEntries &entries) { saved = entries; });
    ASSERT_TRUE(deliverUntil([&session] { return !session.isSavedListLoading(); }));
    EXPECT_TRUE(saved.songs.isEmpty());
    EXPECT_EQ(session.save({QStringLiteral("/m/new.mp3")}).size(), 2);
    for (const Session::File file : {Session::File::Settings, Session::File::Playlist})
        EXPECT_EQ(QFileInfo(session.path(file)).size(), tooLarge) << "left as it was";
}

} // namespace
