#include "lyrics/lyricparser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "persist/textcodec.h"
#include "support/qtprinters.h"

namespace {

// The list as the player holds it after parsing `text` into an empty list.
QStringList parsedList(const QString &text)
{
    LyricList list;
    list.insert(parseLyricText(text));
    return list.items();
}

struct ParseCase
{
    const char *name;
    QString text;
    QStringList items;
};

class LyricParser : public testing::TestWithParam<ParseCase>
{
};

TEST_P(LyricParser, GivesTheListItems)
{
    EXPECT_EQ(parsedList(GetParam().text), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LyricParser,
    testing::Values(
        ParseCase{"title_artist_offset_two_tags",
                  "[ti:Song]\r\n[ar:Singer]\r\n[offset:500]\r\n[00:10.00]First\r\n"
                  "[00:12.50][00:20.00]Second\r\n",
                  {"   0.00#Song - Singer", "0009.50#First ##", "0012.00#Second ##",
                   "0019.50#Second ##"}},
        ParseCase{
            "negative_offset", "[offset:-250]\r\n[00:01.00]A\r\n", {"   0.00#", "0001.25#A ##"}},
        ParseCase{"offset_only_for_later_tags",
                  "[00:03.00]A\r\n[offset:1000]\r\n[00:03.00]B\r\n",
                  {"   0.00#", "0002.00#B ##", "0003.00#A ##"}},
        ParseCase{"offset_before_time_on_one_line",
                  "[00:03.00][offset:1000][00:03.00]A",
                  {"   0.00#", "0002.00#A ##", "0003.00#A ##"}},
        ParseCase{"offset_not_a_number_is_skipped",
                  "[offset:500]\r\n[offset:soon]\r\n[offset:inf]\r\n[00:01.00]A",
                  {"   0.00#", "0000.50#A ##"}},
        ParseCase{"offset_before_start_gives_zero",
                  "[offset:2000]\n[00:01.00]A\n[00:03.00]B",
                  {"   0.00#", "0000.00#A ##", "0001.00#B ##"}},
        ParseCase{"offset_rounds_halves_to_even",
                  "[offset:5]\n[00:01.00]A\n[offset:15]\n[00:01.00]B\n[offset:25]\n[00:01.00]C",
                  {"   0.00#", "0000.98#B ##", "0000.98#C ##", "0001.00#A ##"}},
        ParseCase{"blank_lines",
                  "[00:01.00]A\r\n\r\n\r\n\r\n   \r\n[00:02.00]B\r\n\r\n",
                  {"   0.00#", "0001.00#A ##", "0002.00#B ##"}},
        ParseCase{"last_line_without_break",
                  "[00:01.00]A\r\n[00:02.00]B",
                  {"   0.00#", "0001.00#A ##", "0002.00#B ##"}},
        ParseCase{"line_feeds_only",
                  "[ti:T]\n[00:01.00]A\n[00:02.00]B\n",
                  {"   0.00#T - ", "0001.00#A ##", "0002.00#B ##"}},
        ParseCase{"tag_without_text", "[00:03.00]\r\n", {"   0.00#", "0003.00# ##"}},
        ParseCase{"line_without_tag",
                  "[00:01.00]A\r\nplain words ##\r\n[00:02.00]B\r\n",
                  {"   0.00#", "0001.00#A ##", "0002.00#B ##"}},
        ParseCase{"brackets_in_text",
                  "[00:01.00]A\r\n[00:05.00]Hi [there]\r\n[00:07.00]C",
                  {"   0.00#", "0001.00#A ##", "0005.00#Hi [there] ##", "0007.00#C ##"}},
        ParseCase{"tag_not_at_line_start",
                  "words [00:01.00]A\r\n[00:02.00]B",
                  {"   0.00#", "0002.00#B ##"}},
        ParseCase{"hash_in_text", "[00:01.00]a#b", {"   0.00#", "0001.00#a#b ##"}},
        ParseCase{"unclosed_tag", "[00:01.00\r\n[00:02.00]B", {"   0.00#", "0002.00#B ##"}},
        ParseCase{"empty", "", {"   0.00#"}},
        ParseCase{"only_closing_brackets", "]]]]]\r\n]]", {"   0.00#"}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

// Lyric lines that merely contain a header tag's name are lyrics, and tags the parser
// cannot read are passed over, so no later line loses its time.
INSTANTIATE_TEST_SUITE_P(
    Robust, LyricParser,
    testing::Values(
        ParseCase{"header_names_in_lyrics",
                  "[ti:T]\n[00:01.00]Guitar: solo\n[00:02.00]ti: al: by: ar:\n"
                  "[00:03.00]offset: 3000\n[00:04.00]D",
                  {"   0.00#T - ", "0001.00#Guitar: solo ##", "0002.00#ti: al: by: ar: ##",
                   "0003.00#offset: 3000 ##", "0004.00#D ##"}},
        ParseCase{"unknown_tags_skipped",
                  "[00:01.00]A\n[re:maker]\n[al:Album]\n[by:me]\n[length:03:00]\n"
                  "[00:02.00][xx][00:03.00]B\n[TI:upper]\n[00:04.00]C",
                  {"   0.00#", "0001.00#A ##", "0002.00#B ##", "0003.00#B ##", "0004.00#C ##"}},
        ParseCase{"word_timing_marks_removed",
                  "[00:01.00]<00:01.00>Hello <00:01.50>world<00:02.00> <3 <b> <<1:00>",
                  {"   0.00#", "0001.00#Hello world <3 <b> < ##"}},
        ParseCase{"latest_time",
                  "[999:59.99]A\n[offset:-10]\n[999:59.99]B\n[999:59.98]C",
                  {"   0.00#", "59999.99#A ##", "59999.99#C ##"}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

// A title replaces the header text, an artist is appended to it.
INSTANTIATE_TEST_SUITE_P(
    Header, LyricParser,
    testing::Values(ParseCase{"title_then_artist", "[ti:T]\n[ar:A]", {"   0.00#T - A"}},
                    ParseCase{"artist_before_title_is_lost", "[ar:A]\n[ti:T]", {"   0.00#T - "}},
                    ParseCase{"artist_alone", "[ar:A]", {"   0.00#A"}},
                    ParseCase{"two_artists", "[ti:T][ar:A][ar:B]", {"   0.00#T - AB"}},
                    ParseCase{"second_title_replaces", "[ti:A]\n[ar:B]\n[ti:C]", {"   0.00#C - "}},
                    ParseCase{"tags_kept_as_written", "[ti: 歌 ][ar:]", {"   0.00# 歌  - "}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

struct TagCase
{
    const char *name;
    QString tag;
    QString time; // "" when the tag is no time
};

class LyricTimeTag : public testing::TestWithParam<TagCase>
{
};

TEST_P(LyricTimeTag, IsReadAsTheTimeItMeans)
{
    const QStringList items = parseLyricText(GetParam().tag + "x");
    if (GetParam().time.isEmpty())
        EXPECT_EQ(items, QStringList{"   0.00#"});
    else
        EXPECT_EQ(items, QStringList({GetParam().time + "#x ##", "   0.00#"}));
}

INSTANTIATE_TEST_SUITE_P(
    Tags, LyricTimeTag,
    testing::Values(TagCase{"two_digit_minutes", "[01:23.45]", "0083.45"},
                    TagCase{"one_digit_minutes", "[1:02.00]", "0062.00"},
                    TagCase{"three_digit_minutes", "[100:00.00]", "6000.00"},
                    TagCase{"no_hundredths", "[01:02]", "0062.00"},
                    TagCase{"tenths", "[00:12.3]", "0012.30"},
                    TagCase{"thousandths_cut", "[01:02.345]", "0062.34"},
                    TagCase{"many_decimals_cut", "[01:02.999999]", "0062.99"},
                    TagCase{"colon_before_hundredths", "[01:02:50]", "0062.50"},
                    TagCase{"one_digit_seconds", "[00:5.00]", "0005.00"},
                    TagCase{"empty_fraction", "[00:07.]", "0007.00"},
                    TagCase{"four_digit_minutes", "[1000:00.00]", ""},
                    TagCase{"three_digit_seconds", "[00:100.00]", ""},
                    TagCase{"no_minutes", "[:02.00]", ""}, TagCase{"no_seconds", "[01:]", ""},
                    TagCase{"letters", "[a1:02.00]", ""}, TagCase{"negative", "[-1:02.00]", ""},
                    TagCase{"letter_in_fraction", "[01:02.5x]", ""},
                    TagCase{"space_inside", "[01: 02.00]", ""},
                    TagCase{"fullwidth_digit", "[０1:02.00]", ""}, TagCase{"empty_tag", "[]", ""}),
    [](const testing::TestParamInfo<TagCase> &info) { return std::string(info.param.name); });

class LyricFile : public testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_folder;
};

TEST_F(LyricFile, AddsToTheListAndSelectsItemZero)
{
    LyricList list;
    ASSERT_TRUE(
        ParseLyricFile(write("a.lrc", "[ti:A]\r\n[00:02.00]two\r\n[00:04.00]four\r\n"), list));
    list.select(2);
    ASSERT_TRUE(ParseLyricFile(write("b.lrc", "[ti:B]\n[00:03.00]three\n[00:04.00]four\n"), list));
    EXPECT_EQ(list.items(),
              QStringList({"   0.00#A - ", "   0.00#B - ", "0002.00#two ##", "0003.00#three ##",
                           "0004.00#four ##", "0004.00#four ##"}));
    EXPECT_EQ(list.selectedIndex(), 0);
}

TEST_F(LyricFile, LeavesTheListAloneWhenTheFileCannotBeRead)
{
    LyricList list;
    list.insert({"0001.00#kept ##", "0002.00#too ##"});
    list.select(1);
    QFile large(m_folder.filePath("large.lrc"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(50 * 1024 * 1024));
    large.close();
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("folder.lrc"));

    for (const QString &path : {m_folder.filePath("missing.lrc"), m_folder.filePath("large.lrc"),
                                m_folder.filePath("folder.lrc"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(ParseLyricFile(path, list));
        EXPECT_EQ(list.items(), QStringList({"0001.00#kept ##", "0002.00#too ##"}));
        EXPECT_EQ(list.selectedIndex(), 1);
    }
}

TEST_F(LyricFile, ReadsFilesUpToTheSizeLimit)
{
    LyricList list;
    QByteArray bytes = "[00:01.00]A\n";
    bytes.append(MaxLyricFileBytes - bytes.size(), ']');
    EXPECT_TRUE(ParseLyricFile(write("limit.lrc", bytes), list));
    EXPECT_EQ(list.items(), QStringList({"   0.00#", "0001.00#A ##"}));
    EXPECT_FALSE(ParseLyricFile(write("over.lrc", bytes + "]"), list));
}

TEST_F(LyricFile, ReadsUtf8AndGb18030Alike)
{
    const QString text =
        QStringLiteral("[ti:月亮代表我的心]\r\n[ar:歌手]\r\n[00:01.00]你问我爱你有多深\r\n"
                       "[00:05.50]我爱你有几分€\r\n");
    const QStringList expected = {"   0.00#月亮代表我的心 - 歌手", "0001.00#你问我爱你有多深 ##",
                                  "0005.50#我爱你有几分€ ##"};
    const QList<QByteArray> encodings = {text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8(),
                                         encodeText(text)};
    for (const QByteArray &bytes : encodings) {
        LyricList list;
        ASSERT_TRUE(ParseLyricFile(write("song.lrc", bytes), list));
        EXPECT_EQ(list.items(), expected);
    }
}

} // namespace
