#include "lyrics/lyriclookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "lyrics/lyricfilechooser.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "fakes/scriptedchooser.h"
#include "support/qtprinters.h"

namespace {

struct NameCase
{
    const char *name;
    QString song;
    QString lyric;
};

class LyricFilePath : public testing::TestWithParam<NameCase>
{
};

TEST_P(LyricFilePath, ReplacesTheExtension)
{
    EXPECT_EQ(lyricFilePath(GetParam().song), GetParam().lyric);
}

INSTANTIATE_TEST_SUITE_P(
    Songs, LyricFilePath,
    testing::Values(NameCase{"three_letters", "/music/a.mp3", "/music/a.lrc"},
                    NameCase{"four_letters", "/music/a.flac", "/music/a.lrc"},
                    NameCase{"two_letters", "/music/a.au", "/music/a.lrc"},
                    NameCase{"dots_in_name", "/music/a.b.wav", "/music/a.b.lrc"},
                    NameCase{"no_extension", "/music/a", "/music/a.lrc"},
                    NameCase{"dot_in_folder_only", "/mu.sic/a", "/mu.sic/a.lrc"},
                    NameCase{"trailing_dot", "/music/a.", "/music/a.lrc"},
                    NameCase{"chinese", "/音乐/歌.mp3", "/音乐/歌.lrc"}),
    [](const testing::TestParamInfo<NameCase> &info) { return std::string(info.param.name); });

// A song in songs/, lyric folders first/ and second/ (with their trailing "/"), and lyric
// files whose title says where they lie.
class LyricLookupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *folder : {"songs", "first", "second", "third"})
            ASSERT_TRUE(QDir(m_root.path()).mkdir(folder));
    }

    QString path(const QString &relative) const { return m_root.filePath(relative); }
    QString folder(const QString &name) const { return path(name) + '/'; }
    QString candidate() const { return lyricFilePath(path("songs/a.mp3")); }
    QStringList lyricDirs() const { return {folder("first"), folder("second"), "[END]"}; }

    void writeLyric(const QString &relative)
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[ti:" + relative.toUtf8() + "]\n[00:01.00]line\n");
    }

    // A file that exists but is refused when read.
    void writeUnreadable(const QString &relative)
    {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(MaxLyricFileBytes + 1));
    }

    // The title of the file that was parsed, "" when none was.
    QString foundTitle(const LyricList &list) const
    {
        return list.count() == 0 ? QString() : list.shownText(0).chopped(3);
    }

    QTemporaryDir m_root;
    LyricList m_list;
};

struct OrderCase
{
    const char *name;
    QStringList files;
    QString found;
};

class LyricLookupOrder : public LyricLookupTest, public testing::WithParamInterface<OrderCase>
{
};

// The song's own folder first, then the lyric folders in their order.
TEST_P(LyricLookupOrder, ReadsTheFirstFileFound)
{
    for (const QString &file : GetParam().files)
        writeLyric(file);
    const LyricLookup result = FindLyric(candidate(), lyricDirs(), m_list);
    EXPECT_EQ(result, GetParam().found.isEmpty() ? LyricLookup::NotFound : LyricLookup::Found);
    EXPECT_EQ(foundTitle(m_list), GetParam().found);
    EXPECT_EQ(m_list.selectedIndex(), GetParam().found.isEmpty() ? -1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Places, LyricLookupOrder,
    testing::Values(OrderCase{"beside_song", {"songs/a.lrc", "first/a.lrc"}, "songs/a.lrc"},
                    OrderCase{"first_folder", {"first/a.lrc", "second/a.lrc"}, "first/a.lrc"},
                    OrderCase{"second_folder", {"second/a.lrc", "third/a.lrc"}, "second/a.lrc"},
                    OrderCase{"past_end_mark", {"third/a.lrc"}, ""},
                    OrderCase{"other_name", {"songs/b.lrc", "first/a.mp3"}, ""},
                    OrderCase{"case_beside_song", {"songs/A.LRC", "first/a.lrc"}, "songs/A.LRC"},
                    OrderCase{"case_in_folder", {"second/A.Lrc"}, "second/A.Lrc"},
                    OrderCase{"exact_before_case", {"first/A.lrc", "first/a.lrc"}, "first/a.lrc"},
                    OrderCase{"first_case_variant", {"first/a.LRC", "first/A.lrc"}, "first/A.lrc"}),
    [](const testing::TestParamInfo<OrderCase> &info) { return std::string(info.param.name); });

TEST_F(LyricLookupTest, SearchesEveryFolderOfAListWithoutEndMark)
{
    writeLyric("third/a.lrc");
    const QStringList folders = {folder("first"), path("second"), path("third")};
    EXPECT_EQ(FindLyric(candidate(), folders, m_list), LyricLookup::Found);
    EXPECT_EQ(foundTitle(m_list), "third/a.lrc");
}

TEST_F(LyricLookupTest, SearchesOnlyBesideTheSongWithoutFolders)
{
    writeLyric("first/a.lrc");
    for (const QStringList &folders : {QStringList(), QStringList{"[END]"}})
        EXPECT_EQ(FindLyric(candidate(), folders, m_list), LyricLookup::NotFound);
    EXPECT_EQ(m_list.count(), 0);
}

TEST_F(LyricLookupTest, ReportsAnUnreadableFileBesideTheSong)
{
    writeUnreadable("songs/a.lrc");
    writeLyric("first/a.lrc");
    m_list.insert({"0001.00#kept ##"});
    EXPECT_EQ(FindLyric(candidate(), lyricDirs(), m_list), LyricLookup::Unreadable);
    EXPECT_EQ(m_list.items(), QStringList{"0001.00#kept ##"});
}

TEST_F(LyricLookupTest, EndsSilentlyAtAnUnreadableFileInAFolder)
{
    writeUnreadable("first/a.lrc");
    writeLyric("second/a.lrc");
    EXPECT_EQ(FindLyric(candidate(), lyricDirs(), m_list), LyricLookup::NotFound);
    EXPECT_EQ(m_list.count(), 0);
}

TEST_F(LyricLookupTest, PassesOverAFolderNamedLikeTheLyric)
{
    ASSERT_TRUE(QDir(m_root.path()).mkdir("songs/a.lrc"));
    writeLyric("first/a.lrc");
    EXPECT_EQ(FindLyric(candidate(), lyricDirs(), m_list), LyricLookup::Found);
    EXPECT_EQ(foundTitle(m_list), "first/a.lrc");
}

// A chosen file joins the lines already there and the display starts over; a cancelled
// dialog or a file that cannot be read leaves the list as it was.
TEST_F(LyricLookupTest, OpenLyricAddsTheChosenFile)
{
    writeLyric("first/a.lrc");
    writeLyric("second/b.lrc");
    writeUnreadable("third/c.lrc");
    ScriptedChooser first(path("first/a.lrc"));
    ASSERT_TRUE(OpenLyric(first, m_list));
    m_list.select(1);

    for (const QString &answer : {QString(), path("third/c.lrc"), path("missing.lrc")}) {
        ScriptedChooser chooser(answer);
        EXPECT_FALSE(OpenLyric(chooser, m_list));
        EXPECT_EQ(chooser.m_calls, 1);
        EXPECT_EQ(m_list.count(), 2);
        EXPECT_EQ(m_list.selectedIndex(), 1);
    }

    ScriptedChooser second(path("second/b.lrc"));
    ASSERT_TRUE(OpenLyric(second, m_list));
    EXPECT_EQ(m_list.items(), QStringList({"   0.00#first/a.lrc - ", "   0.00#second/b.lrc - ",
                                           "0001.00#line ##", "0001.00#line ##"}));
    EXPECT_EQ(m_list.selectedIndex(), 0);
}

} // namespace
