#include "lyrics/lyriclookup.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fakes/scriptedchooser.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

TEST(LyricFilePath, ReplacesTheLastExtension)
{
    EXPECT_EQ(lyricFilePath("/music/a.b.flac"), "/music/a.b.lrc");
    EXPECT_EQ(lyricFilePath("/mu.sic/a"), "/mu.sic/a.lrc");
}

// Each lyric file's title is its own relative path; a name starting with "!" is written
// as a file too large to read.
struct Tree
{
    QString path(const QString &relative) const { return root.filePath(relative); }
    void write(QString relative)
    {
        const bool unreadable = relative.startsWith('!');
        relative.remove('!');
        QFile file(writeFile(path(relative), "[ti:" + relative.toUtf8() + "]\n[00:01.00]line\n"));
        EXPECT_TRUE(!unreadable || file.resize(MaxLyricFileBytes + 1));
    }

    QTemporaryDir root;
};

// The song is "songs/a.mp3" with the lyric folders "first" and "second" in a Tree.
struct SourceRow
{
    QStringList files;
    SongTags tags;
    // The title of the lyrics read; "" for none.
    QString read;
};

TEST(FindSongLyric, ReadsTheFirstSourceInOrder)
{
    const SongTags tagged = {"Ar", "Ti", {"no times", "[ti:embedded]\n[00:02.00]sung"}};
    const SourceRow rows[] = {
        // The song's own name: beside the song, in any case, then in the folders, exact case
        // first, and before the names from the tags.
        {{"songs/a.lrc", "first/a.lrc"}, {}, "songs/a.lrc"},
        {{"songs/A.LRC", "first/a.lrc"}, {}, "songs/A.LRC"},
        {{"first/A.lrc", "first/a.lrc"}, {}, "first/a.lrc"},
        {{"second/a.lrc", "songs/Ar - Ti.lrc"}, tagged, "second/a.lrc"},
        {{"third/a.lrc", "first/b.lrc"}, {}, ""},
        // An own file that cannot be read ends the search for own files, beside the song as in
        // the folders (one loop over both).
        {{"!songs/a.lrc", "first/a.lrc"}, {}, ""},
        // "artist - title" before "title", beside the song first; files that cannot be read
        // give way; the embedded text last (alone, it is the whole-program embedded lyrics test).
        {{"songs/Ti.lrc", "first/ar - ti.LRC", "songs/AR - TI.lrc"}, tagged, "songs/AR - TI.lrc"},
        {{"first/Ar - Ti.lrc", "second/ti.lrc"}, {"", "Ti", {}}, "second/ti.lrc"},
        {{"!songs/a.lrc", "!first/Ar - Ti.lrc", "second/Ti.lrc"}, tagged, "second/Ti.lrc"},
        // A name from the tags stays in its folder.
        {{"first/A_B - Ti.lrc", "first/A/B - Ti.lrc"}, {"A/B", "Ti", {}}, "first/A_B - Ti.lrc"},
        {{"songs/secret.lrc"}, {"", "../songs/secret", {}}, ""},
        {{}, {"Ar", "Ti", {"[ti:x]\nwords"}}, ""},
    };
    for (const SourceRow &row : rows) {
        SCOPED_TRACE(row.files.join(' ').toStdString());
        Tree tree;
        for (const QString &file : row.files)
            tree.write(file);
        int reads = 0;
        const SongTagReader readTags = [&](const QString &) { return ++reads, row.tags; };
        LyricList list;
        list.insert({"0009.00#kept ##"});
        const bool found = FindSongLyric(tree.path("songs/a.mp3"),
                                         {tree.path("first"), tree.path("second")}, readTags, list);
        EXPECT_EQ(found, !row.read.isEmpty());
        // Only the first source found is read.
        EXPECT_EQ(list.count(), found ? 3 : 1);
        EXPECT_EQ(list.items().first(), found ? "   0.00#" + row.read + " - " : "0009.00#kept ##");
        // The tags are read once, and only when the song's own lyric file (a.lrc) is missing.
        EXPECT_EQ(reads, row.read.endsWith("a.lrc", Qt::CaseInsensitive) ? 0 : 1);
    }
}

// A chosen file joins the lines already there and the display starts over; a cancelled
// dialog or a file that cannot be read leaves the list as it was.
TEST(OpenLyric, AddsTheChosenFileOnly)
{
    Tree tree;
    tree.write("first/a.lrc");
    tree.write("!second/b.lrc");
    LyricList list;
    list.insert({"0009.00#kept ##"});
    for (const QString &answer : {QString(), tree.path("second/b.lrc"), tree.path("first/a.lrc")}) {
        ScriptedChooser chooser(answer);
        EXPECT_EQ(OpenLyric(chooser, list), answer.endsWith("a.lrc"));
    }
    EXPECT_EQ(list.items(),
              QStringList({"   0.00#first/a.lrc - ", "0001.00#line ##", "0009.00#kept ##"}));
    EXPECT_EQ(list.selectedIndex(), 0);
}

} // namespace
