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

TEST(FindLyric, ReadsTheFirstFileFoundInOrder)
{
    const QStringList standard = {"first/", "second/", "[END]"};
    // The files in the tree, the lyric folders (relative to the tree, but for "[END]"), the
    // result and the title of the file read.
    const std::tuple<QStringList, QStringList, LyricLookup, QString> cases[] = {
        {{"songs/a.lrc", "first/a.lrc"}, standard, LyricLookup::Found, "songs/a.lrc"},
        {{"second/a.lrc", "third/a.lrc"}, standard, LyricLookup::Found, "second/a.lrc"},
        {{"third/a.lrc", "first/b.lrc"}, standard, LyricLookup::NotFound, ""},
        {{"third/a.lrc"}, {"first/", "second", "third"}, LyricLookup::Found, "third/a.lrc"},
        {{"first/a.lrc"}, {}, LyricLookup::NotFound, ""},
        {{"songs/A.LRC", "first/a.lrc"}, standard, LyricLookup::Found, "songs/A.LRC"},
        {{"first/A.lrc", "first/a.lrc"}, standard, LyricLookup::Found, "first/a.lrc"},
        {{"!songs/a.lrc", "first/a.lrc"}, standard, LyricLookup::Unreadable, ""},
        {{"!first/a.lrc", "second/a.lrc"}, standard, LyricLookup::NotFound, ""},
    };
    for (const auto &[files, folders, result, title] : cases) {
        SCOPED_TRACE(files.join(' ').toStdString() + " in " + folders.join(' ').toStdString());
        Tree tree;
        for (const QString &file : files)
            tree.write(file);
        QStringList dirs;
        for (const QString &dir : folders)
            dirs.append(dir == "[END]" ? dir : tree.path(dir));
        LyricList list;
        list.insert({"0009.00#kept ##"});
        ASSERT_EQ(FindLyric(lyricFilePath(tree.path("songs/a.mp3")), dirs, list), result);
        EXPECT_EQ(list.count(), title.isEmpty() ? 1 : 3);
        EXPECT_EQ(list.items().first(),
                  title.isEmpty() ? "0009.00#kept ##" : "   0.00#" + title + " - ");
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
