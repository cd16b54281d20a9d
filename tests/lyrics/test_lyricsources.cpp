#include "lyrics/lyriclookup.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// The song is "songs/a.mp3" with the lyric folders "first" and "second", all in a tree of
// lyric files whose title is each file's own path ("!" before a path: a file too large to
// read). Embedded texts are titled by their [ti:] tag.
struct SourceCase
{
    const char *what;
    QStringList files;
    SongTags tags;
    // The title of the lyrics read; "" for none.
    QString read;
};

TEST(FindSongLyric, ReadsTheFirstSourceInOrder)
{
    const QStringList embedded = {"words without times", "[ti:embedded]\n[00:02.00]sung"};
    const SongTags tagged = {"Ar", "Ti", embedded};
    const SourceCase cases[] = {
        {"the song's own name wins", {"second/a.lrc", "songs/Ar - Ti.lrc"}, tagged, "second/a.lrc"},
        {"artist - title before title",
         {"songs/Ti.lrc", "second/ar - ti.LRC"},
         tagged,
         "second/ar - ti.LRC"},
        {"beside the song before the folders",
         {"first/Ar - Ti.lrc", "songs/AR - TI.lrc"},
         tagged,
         "songs/AR - TI.lrc"},
        {"title alone without an artist",
         {"first/Ar - Ti.lrc", "first/ti.lrc"},
         {"", "Ti", {}},
         "first/ti.lrc"},
        {"an unreadable file gives way",
         {"!songs/a.lrc", "!first/Ar - Ti.lrc", "second/Ti.lrc"},
         tagged,
         "second/Ti.lrc"},
        {"embedded last, the first text with times", {"third/Ar - Ti.lrc"}, tagged, "embedded"},
        {"a slash stays in the folder",
         {"first/AC_DC - Ti.lrc", "first/AC/DC - Ti.lrc"},
         {"AC/DC", "Ti", {}},
         "first/AC_DC - Ti.lrc"},
        {"no way out of the folder", {"songs/secret.lrc"}, {"", "../songs/secret", {}}, ""},
        {"untimed text is no lyric", {}, {"Ar", "Ti", {"[ti:x]\nwords"}}, ""},
    };
    for (const SourceCase &test : cases) {
        SCOPED_TRACE(test.what);
        QTemporaryDir root;
        for (QString file : test.files) {
            const bool isTooLarge = file.startsWith('!');
            file.remove('!');
            QFile written(
                writeFile(root.filePath(file), "[ti:" + file.toUtf8() + "]\n[00:01.00]x\n"));
            ASSERT_TRUE(!isTooLarge || written.resize(MaxLyricFileBytes + 1));
        }
        int reads = 0;
        const SongTagReader readTags = [&](const QString &path) {
            ++reads;
            EXPECT_EQ(path, root.filePath("songs/a.mp3"));
            return test.tags;
        };
        LyricList list;
        list.insert({"0009.00#kept ##"});
        const bool found =
            FindSongLyric(root.filePath("songs/a.mp3"),
                          {root.filePath("first"), root.filePath("second")}, readTags, list);
        EXPECT_EQ(found, !test.read.isEmpty());
        EXPECT_EQ(list.items().first(),
                  found ? "   0.00#" + test.read + " - " : QString("0009.00#kept ##"));
        EXPECT_EQ(list.count(), found ? 3 : 1);
        // The tags are read once, and only when the song's own lyric file is missing.
        EXPECT_EQ(reads, test.files.contains("second/a.lrc") ? 0 : 1);
    }
}

// Without a tag reader only the song's own name is looked for.
TEST(FindSongLyric, WithoutTagsFindsTheSongsNameOnly)
{
    QTemporaryDir root;
    writeFile(root.filePath("b.lrc"), "[00:01.00]x\n");
    LyricList list;
    EXPECT_FALSE(FindSongLyric(root.filePath("a.mp3"), {root.path()}, {}, list));
    EXPECT_TRUE(FindSongLyric(root.filePath("b.mp3"), {}, {}, list));
    EXPECT_EQ(list.count(), 2);
}

} // namespace
