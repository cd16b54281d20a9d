#include "lyrics/lyricparser.h"

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "support/qtprinters.h"

namespace {

TEST(LyricParser, GivesTheListItems)
{
    const std::pair<QString, QStringList> cases[] = {
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
        // "title - artist" in either order: a later title replaces an earlier one, a
        // later artist is appended.
        {"[ar:A]\n[ti:T][ar:B]\n[ti:C]", {"   0.00#C - AB"}},
        {"[ar:A]", {"   0.00#A"}},
        // The times the tags give; a line whose tag is no time is left out.
        {"[1:02.00]x\n[100:00.00]y", {"   0.00#", "0062.00#x ##", "6000.00#y ##"}},
        {"[01:02]x\n[00:12.3]y", {"   0.00#", "0012.30#y ##", "0062.00#x ##"}},
        {"[01:02.345]x\n[01:02:50]y", {"   0.00#", "0062.34#x ##", "0062.50#y ##"}},
        {"[999:59.99]x\n[1000:00.00]y\n[01:02.5x]z", {"   0.00#", "59999.99#x ##"}},
    };
    for (const auto &[text, items] : cases) {
        LyricList list;
        list.insert(parseLyricText(text));
        EXPECT_EQ(list.items(), items) << text.toStdString();
    }
}

// The parse stays within its bounds, keeps what fits and says it stopped: one line of many
// tags before a long text (an item per tag would hold 800 GB), one of many tags before many
// word marks, and a line of more tags than the items allowed.
TEST(LyricParser, CraftedLinesCannotFillTheMemory)
{
    const QString bomb =
        QStringLiteral("[0:0]").repeated(400'000) + QString(2'000'000, u'x') + "\n[ar:A]";
    const QString stamps =
        QStringLiteral("[0:0]").repeated(2000) + QStringLiteral("<0:1>a").repeated(100'000);
    const QString manyTags = QStringLiteral("[0:0]").repeated(MaxLyricItems + 10) + 'x';
    for (const QString &text : {bomb, stamps, manyTags}) {
        bool isCut = false;
        const QList<LyricItem> items = parseLyricItems(text, &isCut);
        qsizetype characters = 0;
        for (const LyricItem &item : items.first(items.size() - 1))
            characters += item.text.size() + item.words.size() * StampCharacters;
        EXPECT_TRUE(isCut);
        EXPECT_GT(items.size(), 2) << "the items that fit are kept";
        EXPECT_LE(items.size(), MaxLyricItems + 1);
        EXPECT_LE(characters, lyricItemCharacters(text.size()));
    }
    bool isCut = true;
    parseLyricText("[00:01.00]A", &isCut);
    EXPECT_FALSE(isCut);
}

} // namespace
