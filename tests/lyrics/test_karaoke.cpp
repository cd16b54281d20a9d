#include "lyrics/karaoke.h"

#include <limits>

#include <gtest/gtest.h>

#include "lyrics/lyricparser.h"
#include "support/qtprinters.h"

namespace {

struct StampRow
{
    const char *lrc;
    // The shown text and the word stamps of the file's last timed item.
    const char *text;
    QList<WordStamp> words;
};

TEST(Karaoke, WordMarksBecomeStampsOfTheShownText)
{
    const StampRow rows[] = {
        {"[00:12.00]<00:12.00>我<00:12.40>的<00:12.90>歌<00:13.40>",
         "我的歌",
         {{0, 12.0}, {1, 12.4}, {2, 12.9}, {3, 13.4}}},
        // Angle brackets without a time stay text; the stamps count the characters shown.
        {"[00:01.00]<xx>a<00:01.50>b<99:99.99", "<xx>ab<99:99.99", {{5, 1.5}}},
        {"[00:01.00]a<b<00:02.00>c<", "a<bc<", {{3, 2.0}}},
        // Marks that go back, or come before their line, count as the time before them.
        {"[00:05.00]<00:06.00>a<00:05.50>b<00:04.00>c", "abc", {{0, 6.0}, {1, 6.0}, {2, 6.0}}},
        // [offset:] moves the marks as the lines; a line moved before 0 starts at 0. A second
        // time tag gets the marks at their distance from the first.
        {"[offset:1500]\n[00:01.00]<00:01.00>a<00:03.00>b", "ab", {{0, 0.0}, {1, 1.5}}},
        {"[00:20.00][00:50.00]a<00:20.50>b<00:21.00>", "ab", {{1, 50.5}, {2, 51.0}}},
    };
    for (const StampRow &row : rows) {
        const QList<LyricItem> items = parseLyricItems(QString::fromUtf8(row.lrc));
        ASSERT_GE(items.size(), 2) << row.lrc;
        const LyricItem &item = items.at(items.size() - 2);
        // The item is "0000.00#", the text and " ##".
        EXPECT_EQ(item.text.sliced(8).chopped(3), QString::fromUtf8(row.text));
        EXPECT_EQ(item.words, row.words) << row.lrc;
    }
}

struct FillRow
{
    int length;
    QList<WordStamp> stamps;
    double start, end, position, sung;
};

TEST(Karaoke, FillsWordByWordOrEvenly)
{
    const QList<WordStamp> song{{0, 12.0}, {1, 12.4}, {2, 12.9}, {3, 13.4}};
    const FillRow rows[] = {
        {4, {}, 10, 12, 9, 0},
        {4, {}, 10, 12, 11.5, 3},
        {3, song, 12, 20, 13.0, 2.2},
        {3, song, 12, 20, 13.4, 3},
        // Characters before the first stamp fill from the line's time, after the last one
        // until its end; a first stamp later than the line waits.
        {4, {{2, 12.4}}, 12, 13.4, 12.9, 3},
        {2, {{0, 12.5}}, 12, 13.5, 12.3, 0},
        // Stamps that go back or past the text, and a line without time.
        {3, {{2, 12.5}, {1, 12.0}}, 12, 13, 12.75, 2.5},
        {3, {{5, 12.5}}, 12, 13, 12.25, 1.5},
        {2, {}, 5, 5, 5, 2},
    };
    for (const FillRow &row : rows) {
        EXPECT_NEAR(sungCharacters(row.length, row.stamps, row.start, row.end, row.position),
                    row.sung, 1e-9)
            << row.length << " characters at " << row.position;
    }
    constexpr double none = std::numeric_limits<double>::infinity();
    EXPECT_EQ(lineEnd(10, 12, 100), 12);
    EXPECT_EQ(lineEnd(10, none, 100), 100) << "the last line ends with the track";
    EXPECT_EQ(lineEnd(10, none, -none), 10 + LastLineSeconds) << "a track of unknown length";
}

} // namespace
