#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/session.h"
#include "fakes/gate.h"
#include "persist/textcodec.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

QByteArray lines(const QStringList &songs, const char *end)
{
    QByteArray text;
    for (const QString &song : songs)
        text += song.toUtf8() + end;
    return text;
}

// Each save finds the file holding what the session last knew it held, but with line ends
// the player never writes: they stay only when the file is not written.
TEST(SavedListTest, IsWrittenAtShutdownOnlyWhenItChanged)
{
    QTemporaryDir dir;
    Session session(dir.path());
    const QString file = session.path(Session::File::Playlist);
    QStringList known{"/m/a.mp3", "/m/b.mp3"};
    writeFile(file, lines(known, "\r\n"));
    QStringList loaded;
    session.loadSavedList([&loaded](const PlaylistEntries &saved) { loaded = saved.songs; });
    EXPECT_TRUE(session.save({}).isEmpty());
    EXPECT_EQ(readFile(file), lines(known, "\r\n")) << "not written while it is being read";
    ASSERT_TRUE(deliverUntil([&session] { return !session.isSavedListLoading(); }));
    ASSERT_EQ(loaded, known);

    struct Step
    {
        const char *what;
        QStringList songs;
        bool isWritten;
    };
    const Step steps[] = {
        {"as read", known, false},
        {"one song removed", {"/m/a.mp3"}, true},
        {"as last written", {"/m/a.mp3"}, false},
        {"emptied", {}, true},
    };
    for (const Step &step : steps) {
        writeFile(file, lines(known, "\n"));
        EXPECT_TRUE(session.save(step.songs).isEmpty()) << step.what;
        EXPECT_EQ(readFile(file), step.isWritten ? lines(step.songs, "\r\n") : lines(known, "\n"))
            << step.what;
        if (step.isWritten)
            known = step.songs;
    }
}

TEST(SavedListTest, IsWrittenWhenThereWasNoneToRead)
{
    QTemporaryDir dir;
    Session session(dir.path());
    session.loadSavedList([](const PlaylistEntries &) {});
    ASSERT_TRUE(deliverUntil([&session] { return !session.isSavedListLoading(); }));
    EXPECT_TRUE(session.save({}).isEmpty());
    EXPECT_EQ(readFile(session.path(Session::File::Playlist)), "") << "created, empty";
}

// A list longer than what is read first comes in two parts, which together are the list as
// read whole; one that could be UTF-8 comes whole, since only all of it tells.
TEST(SavedListTest, ALongListComesAsItsFirstLinesThenTheRest)
{
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("/音乐/歌手 %1/一首歌 %2.mp3\r\n").arg(i / 100).arg(i);
    struct Case
    {
        const char *what;
        QByteArray bytes;
        int parts;
    };
    const Case cases[] = {
        {"GB18030, as the player writes it", *encodeGb18030(text), 2},
        {"UTF-8 without its mark", text.toUtf8(), 1},
    };
    for (const Case &each : cases) {
        QTemporaryDir dir;
        Session session(dir.path());
        writeFile(session.path(Session::File::Playlist), each.bytes);
        QList<QStringList> parts;
        session.loadSavedList(
            [&parts](const PlaylistEntries &saved) { parts.append(saved.songs); });
        ASSERT_TRUE(deliverUntil([&session] { return !session.isSavedListLoading(); }));
        EXPECT_EQ(parts.size(), each.parts) << each.what;
        QStringList songs;
        for (const QStringList &part : parts)
            songs += part;
        EXPECT_EQ(songs, LoadPlaylist(session.path(Session::File::Playlist)).value.songs)
            << each.what;
        EXPECT_EQ(songs.size(), 4000) << each.what;
    }
}

} // namespace
