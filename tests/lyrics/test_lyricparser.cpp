#include "lyrics/lyricparser.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "persist/textcodec.h"
#include "support/qtprinters.h"

namespace {

QStringList parsedList(const QString &text)
{
    LyricList list;
    list.insert(parseLyricText(text));
    return list.items();
}

TEST(LyricParser, GivesTheListItems)
{
    const struct
    {
        QString text;
        QStringList items;
    } cases[] = {
        {"[ti:Song]\r\n[ar:Singer]\r\n[offset:500]\r\n[00:10.00]First\r\n"
         "[00:12.50][00:20.00]Second\r\n",
         {"   0.00#Song - Singer", "0009.50#First ##", "0012.00#Second ##", "0019.50#Second ##"}},
        {"[offset:-250]\r\n[00:01.00]A\r\n", {"   0.00#", "0001.25#A ##"}},
        {"[00:03.00]A\r\n[offset:1000]\r\n[00:03.00]B",
         {"   0.00#", "0002.00#B ##", "0003.00#A ##"}},
        {"[offset:2000]\n[00:01.00]A\n[offset:15]\n[00:01.00]B",
         {"   0.00#", "0000.00#A ##", "0000.98#B ##"}},
        {"[00:01.00]A\r\n\r\n   \r\nplain words ##\r\n[00:03.00]\r\n[00:04.00\r\n"
         "[00:05.00]Hi [there]\r\n[00:06.00]a#b",
         {"   0.00#", "0001.00#A ##", "0003.00# ##", "0005.00#Hi [there] ##", "0006.00#a#b ##"}},
        {"]]]]]\r\n]]", {"   0.00#"}},
        {"[00:01.00]Guitar: solo\n[00:02.00]offset: 3000",
         {"   0.00#", "0001.00#Guitar: solo ##", "0002.00#offset: 3000 ##"}},
        {"[re:maker]\n[al:Album]\n[offset:soon]\n[00:02.00][xx][00:03.00]B\n[TI:upper]",
         {"   0.00#", "0002.00#B ##", "0003.00#B ##"}},
        {"[00:01.00]<00:01.00>Hello <00:01.50>world<00:02.00> <3 <b>",
         {"   0.00#", "0001.00#Hello world <3 <b> ##"}},
        // "title - artist" in either order: a later title replaces an earlier one, a
        // later artist is appended.
        {"[ar:A]\n[ti:T]", {"   0.00#T - A"}},
        {"[ar:A]", {"   0.00#A"}},
        {"[ti:T][ar:A][ar:B]", {"   0.00#T - AB"}},
        {"[ti:A]\n[ar:B]\n[ti:C]", {"   0.00#C - B"}},
        // Lone carriage returns end lines too, alone or mixed with the other line ends.
        {"[ar:A]\r[ti:T]\r[00:01.00]A\r\r[00:02.00]B\r\n[00:03.00]C\n\r[00:04.00]D\r",
         {"   0.00#T - A", "0001.00#A ##", "0002.00#B ##", "0003.00#C ##", "0004.00#D ##"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parsedList(c.text), c.items) << c.text.toStdString();
}

TEST(LyricParser, ReadsTimeTags)
{
    const struct
    {
        const char *tag;
        const char *time; // nullptr when the tag is no time
    } cases[] = {{"[1:02.00]", "0062.00"},    {"[100:00.00]", "6000.00"}, {"[01:02]", "0062.00"},
                 {"[00:12.3]", "0012.30"},    {"[01:02.345]", "0062.34"}, {"[01:02:50]", "0062.50"},
                 {"[999:59.99]", "59999.99"}, {"[1000:00.00]", nullptr},  {"[01:02.5x]", nullptr}};
    for (const auto &c : cases) {
        const QStringList expected =
            c.time ? QStringList{"   0.00#", QString(c.time) + "#x ##"} : QStringList{"   0.00#"};
        EXPECT_EQ(parsedList(QString(c.tag) + "x"), expected) << c.tag;
    }
}

struct LyricFile : testing::Test
{
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QTemporaryDir m_folder;
};

TEST_F(LyricFile, MergesFilesAndSelectsItemZero)
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

TEST_F(LyricFile, RefusesFilesOverTheSizeLimitAndLeavesTheListAlone)
{
    QByteArray bytes = "[00:01.00]A\n";
    bytes.append(MaxLyricFileBytes - bytes.size(), ']');
    LyricList list;
    ASSERT_TRUE(ParseLyricFile(write("limit.lrc", bytes), list));
    list.select(1);
    for (const QString &path : {write("over.lrc", bytes + "]"), m_folder.filePath("missing.lrc")}) {
        QString error;
        EXPECT_FALSE(ParseLyricFile(path, list, &error));
        EXPECT_EQ(error.isEmpty(), path.endsWith("missing.lrc")) << error.toStdString();
        EXPECT_EQ(list.items(), QStringList({"   0.00#", "0001.00#A ##"}));
        EXPECT_EQ(list.selectedIndex(), 1);
    }
}

TEST_F(LyricFile, ReadsUtf8Utf16AndGb18030Alike)
{
    const QString text =
        QStringLiteral("[ti:月亮代表我的心]\r\n[ar:歌手]\r\n[00:01.00]你问我爱你有多深\r\n");
    const QStringList expected = {"   0.00#月亮代表我的心 - 歌手", "0001.00#你问我爱你有多深 ##"};
    QStringEncoder littleEndian(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QStringEncoder bigEndian(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    for (const QByteArray &bytes :
         {text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8(), encodeGb18030(text).value(),
          QByteArray(littleEndian.encode(text)), QByteArray(bigEndian.encode(text))}) {
        LyricList list;
        ASSERT_TRUE(ParseLyricFile(write("song.lrc", bytes), list));
        EXPECT_EQ(list.items(), expected);
    }
}

} // namespace
