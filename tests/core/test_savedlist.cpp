#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "fakes/gate.h"
#include "persist/textcodec.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

bool loaded(const Session &session)
{
    return deliverUntil([&session] { return !session.isSavedListLoading(); });
}

// Before each save the file holds what the session last knew it to hold, but with line ends
// the player never writes: they stay only when the file is not written.
TEST(SavedListTest, IsWrittenAtShutdownOnlyWhenItChanged)
{
    QTemporaryDir dir;
    Session session(dir.path());
    const QString file = writeFile(session.path(Session::File::Playlist), "/m/a\r\n/m/b\r\n");
    session.loadSavedList([](const PlaylistEntries &) {});
    EXPECT_TRUE(session.save({}).isEmpty());
    EXPECT_EQ(readFile(file), "/m/a\r\n/m/b\r\n") << "not written while it is being read";
    ASSERT_TRUE(loaded(session));
    struct Step
    {
        const char *what;
        QStringList songs;
        QByteArray file;
    };
    const Step steps[] = {{"as read", {"/m/a", "/m/b"}, "/m/a\n/m/b\n"},
                          {"one song removed", {"/m/a"}, "/m/a\r\n"},
                          {"as last written", {"/m/a"}, "/m/a\n"}};
    QByteArray held = "/m/a\n/m/b\n";
    for (const Step &step : steps) {
        writeFile(file, held);
        EXPECT_TRUE(session.save(step.songs).isEmpty()) << step.what;
        EXPECT_EQ(readFile(file), step.file) << step.what;
        held = QByteArray(step.file).replace('\r', "");
    }
}

// A list longer than what is read first comes in two parts, together the list read whole; one
// that could be UTF-8 comes whole, since only all of it tells.
TEST(SavedListTest, ALongListComesAsItsFirstLinesThenTheRest)
{
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("/音乐/歌手 %1/一首歌 %2.mp3\r\n").arg(i / 100).arg(i);
    struct Case
    {
        QByteArray bytes;
        int parts;
    };
    for (const Case &each : {Case{*encodeGb18030(text), 2}, Case{text.toUtf8(), 1}}) {
        QTemporaryDir dir;
        Session session(dir.path());
        const QString file = writeFile(session.path(Session::File::Playlist), each.bytes);
        int parts = 0;
        QStringList songs;
        session.loadSavedList([&](const PlaylistEntries &saved) { ++parts, songs += saved.songs; });
        ASSERT_TRUE(loaded(session));
        EXPECT_EQ(parts, each.parts);
        EXPECT_EQ(songs, LoadPlaylist(file).value.songs);
    }
}

} // namespace
