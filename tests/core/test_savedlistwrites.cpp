#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/playlist.h"
#include "core/session.h"
#include "fakes/gate.h"
#include "support/files.h"

namespace {

// The list is written on the session's queue as it changes, but only once the saved list has
// come: a change before that must not replace the file the saved list is still to be read
// from. The shutdown then finds the file written and leaves it alone.
TEST(SavedListWrites, FollowTheListOnceTheSavedListHasCome)
{
    QTemporaryDir dir;
    Session session(dir.path());
    const QString file = writeFile(session.path(Session::File::Playlist), "/m/a\r\n");
    Playlist list;
    session.keepWritten(list);
    list.append({QStringLiteral("/m/x")});
    session.loadSavedList([&list](const PlaylistEntries &saved) { list.append(saved.songs); });
    ASSERT_TRUE(deliverUntil([&session] { return !session.isSavedListLoading(); }));
    EXPECT_EQ(list.songs(), QStringList({"/m/x", "/m/a"}));
    ASSERT_TRUE(deliverUntil([&file] { return readFile(file) == "/m/x\r\n/m/a\r\n"; }));
    list.removeNotHighlighted();
    ASSERT_TRUE(deliverUntil([&file] { return readFile(file).isEmpty(); }));

    writeFile(file, "/m/held\r\n");
    EXPECT_TRUE(session.save({}).isEmpty());
    EXPECT_EQ(readFile(file), "/m/held\r\n") << "what was written is not written again";
    EXPECT_TRUE(session.save({QStringLiteral("/m/b")}).isEmpty());
    EXPECT_EQ(readFile(file), "/m/b\r\n");
}

} // namespace
