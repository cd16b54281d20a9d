#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/session.h"
#include "fakes/gate.h"
#include "persist/textcodec.h"
#include "persist/textfile.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

struct SessionTest : testing::Test
{
    // Whether the saved list came in (in 5 s at most).
    bool loaded()
    {
        return deliverUntil([this] { return !session.isSavedListLoading(); });
    }

    QTemporaryDir dir;
    Session session{dir.path()};
};

// The saved list and the pictures come back through the window's start-up (tests/ui); what
// cannot be written is reported for each file at shutdown (tests/app/test_full_disk.sh). Files
// that cannot be read keep neither the lyric folders from coming back nor the files as they were.
TEST_F(SessionTest, LeavesFilesItCouldNotReadAsTheyWere)
{
    writeFile(session.path(Session::File::LyricFolders), "/lrc/\r\n[END]\r\n");
    // Larger than any file the player reads: refused unread (and sparse, so cheap).
    const qint64 tooLarge = PlaylistFileLimit + 1;
    for (const Session::File file : {Session::File::Settings, Session::File::Playlist}) {
        QFile huge(session.path(file));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(tooLarge));
    }
    EXPECT_EQ(session.load().status, ReadStatus::Unreadable);
    EXPECT_EQ(session.ListLyricDir(), QStringList{"/lrc/"}) << "the end line stays in the file";
    PlaylistEntries saved{{"not read"}, {}};
    session.loadSavedList([&saved](const PlaylistEntries &entries) { saved = entries; });
    ASSERT_TRUE(loaded());
    EXPECT_TRUE(saved.songs.isEmpty());
    EXPECT_EQ(session.save({QStringLiteral("/m/new.mp3")}).size(), 2);
    for (const Session::File file : {Session::File::Settings, Session::File::Playlist})
        EXPECT_EQ(QFileInfo(session.path(file)).size(), tooLarge) << "left as it was";
}

// The list is written on the session's queue as it changes, but only once the saved list has
// come: a change before that must not replace the file the saved list is still to be read
// from. The shutdown writes it only when the file may hold other songs: line ends the player
// never writes stay while it holds what was last written, by the queue or by the shutdown.
TEST_F(SessionTest, TheListIsWrittenOnceTheSavedListHasComeAndThenOnlyWhenItChanged)
{
    const QString file = writeFile(session.path(Session::File::Playlist), "/m/a\n");
    Playlist list;
    session.keepWritten(list);
    list.append({QStringLiteral("/m/x")});
    session.loadSavedList([](const PlaylistEntries &) {});
    ASSERT_TRUE(loaded());
    EXPECT_EQ(readFile(file), "/m/a\n") << "not written before the saved list came";
    list.append({QStringLiteral("/m/b")});
    ASSERT_TRUE(deliverUntil([&file] { return readFile(file) == "/m/x\r\n/m/b\r\n"; }));
    list.removeNotHighlighted();
    ASSERT_TRUE(deliverUntil([&file] { return readFile(file).isEmpty(); }));
    struct Step
    {
        QStringList songs;
        QByteArray file; // after the save
    };
    const Step steps[] = {{{}, "/m/held\n"}, {{"/m/b"}, "/m/b\r\n"}, {{"/m/b"}, "/m/held\n"}};
    for (const Step &step : steps) {
        writeFile(file, "/m/held\n");
        EXPECT_TRUE(session.save(step.songs).isEmpty());
        EXPECT_EQ(readFile(file), step.file) << "step " << &step - steps;
    }
}

// A list longer than what is read first comes in two parts, together the list read whole; one
// that could be UTF-8 comes whole, since only all of it tells. The shutdown leaves the file of
// a list as read alone.
TEST_F(SessionTest, ALongSavedListComesAsItsFirstLinesThenTheRest)
{
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("/音乐/歌手 %1/一首歌 %2.mp3\r\n").arg(i / 100).arg(i);
    struct Case
    {
        QByteArray bytes;
        int parts;
    };
    for (const Case &each : {Case{text.toUtf8(), 1}, Case{*encodeGb18030(text), 2}}) {
        const QString file = writeFile(session.path(Session::File::Playlist), each.bytes);
        int parts = 0;
        QStringList songs;
        session.loadSavedList([&](const PlaylistEntries &saved) { ++parts, songs += saved.songs; });
        ASSERT_TRUE(loaded());
        EXPECT_EQ(parts, each.parts);
        EXPECT_EQ(songs, LoadPlaylist(file).value.songs);
        EXPECT_TRUE(session.save(songs).isEmpty());
        EXPECT_EQ(readFile(file), each.bytes) << "as read: not written";
    }
}

// A quit while the saved list is still being read writes the list it would have become: the
// songs shown so far, a song that came meanwhile, then the rest of the file.
TEST_F(SessionTest, AQuitWhileTheSavedListIsReadKeepsTheRestAndWhatCameMeanwhile)
{
    QStringList saved;
    for (int i = 0; i < 4000; ++i)
        saved << QStringLiteral("/音乐/一首歌 %1.mp3").arg(i);
    const QString file = session.path(Session::File::Playlist);
    ASSERT_TRUE(SavePlaylist(file, saved).ok);
    qsizetype shown = 0;
    session.loadSavedList([&](const PlaylistEntries &part) {
        if (shown == 0) {
            shown = part.songs.size();
            EXPECT_TRUE(session.save(part.songs + QStringList{"/m/new"}).isEmpty());
        }
    });
    ASSERT_TRUE(loaded());
    ASSERT_LT(shown, saved.size()) << "the list came in two parts";
    EXPECT_EQ(LoadPlaylist(file).value.songs,
              saved.first(shown) + QStringList{"/m/new"} + saved.mid(shown));
}

} // namespace
