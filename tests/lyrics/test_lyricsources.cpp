#include "lyrics/lyriclookup.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

// The song is "songs/a.mp3" with the lyric folders "first" and "second", in a tree of lyric
// files whose title is each file's own path ("!" before a path: a file too large to read).
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
    const SongTags tagged = {"Ar", "Ti", {"no times", "[ti:embedded]\n[00:02.00]sung"}};
    const SourceCase cases[] = {
        {"own name first", {"second/a.lrc", "songs/Ar - Ti.lrc"}, tagged, "second/a.lrc"},
        {"artist - title, beside the song first",
         {"songs/Ti.lrc", "first/ar - ti.LRC", "songs/AR - TI.lrc"},
         tagged,
         "songs/AR - TI.lrc"},
        {"title alone", {"first/Ar - Ti.lrc", "second/ti.lrc"}, {"", "Ti", {}}, "second/ti.lrc"},
        {"unreadable files give way",
         {"!songs/a.lrc", "!first/Ar - Ti.lrc", "second/Ti.lrc"},
         tagged,
         "second/Ti.lrc"},
        {"embedded last", {"third/Ar - Ti.lrc"}, tagged, "embedded"},
        {"a slash",
         {"first/AC_DC - Ti.lrc", "first/AC/DC - Ti.lrc"},
         {"AC/DC", "Ti", {}},
         "first/AC_DC - Ti.lrc"},
        {"no way out", {"songs/secret.lrc"}, {"", "../songs/secret", {}}, ""},
        {"untimed text", {}, {"Ar", "Ti", {"[ti:x]\nwords"}}, ""},
    };
    for (const SourceCase &test : cases) {
        SCOPED_TRACE(test.what);
        QTemporaryDir root;
        for (QString file : test.files) {
            const bool isTooLarge = file.startsWith('!');
            file.remove('!');
            QFile written(
                writeFile(root.filePath(file), "[ti:" + file.toUtf8() + "]\n[00:01.00]x"));
            ASSERT_TRUE(!isTooLarge || written.resize(MaxLyricFileBytes + 1));
        }
        int reads = 0;
        const SongTagReader readTags = [&](const QString &) { return ++reads, test.tags; };
        LyricList list;
        list.insert({"0009.00#kept ##"});
        const bool found =
            FindSongLyric(root.filePath("songs/a.mp3"),
                          {root.filePath("first"), root.filePath("second")}, readTags, list);
        EXPECT_EQ(list.items().first(), found ? "   0.00#" + test.read + " - " : "0009.00#kept ##");
        EXPECT_EQ(found, !test.read.isEmpty());
        // The tags are read once, and only when the song's own lyric file is missing.
        EXPECT_EQ(reads, test.read == "second/a.lrc" ? 0 : 1);
    }
}

} // namespace
