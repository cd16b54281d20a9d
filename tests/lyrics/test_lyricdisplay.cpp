#include "lyrics/lyricdisplay.h"

#include <optional>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "support/qtprinters.h"

namespace {

// What the labels show after one tick; nothing when they keep what they showed.
struct Tick
{
    float position;
    std::optional<QString> shown;
};

LyricList listOf(const QStringList &items)
{
    LyricList list;
    list.insert(items);
    list.select(0);
    return list;
}

// Runs the display steps against two labels that take whatever text a step gives.
void runTicks(LyricList &list, const QList<Tick> &ticks)
{
    QString labels = QStringLiteral("(song line)");
    for (const Tick &tick : ticks) {
        SCOPED_TRACE(testing::Message() << "position " << tick.position);
        const QString before = labels;
        if (const std::optional<QString> text = SyncLyric(list, tick.position))
            labels = *text;
        EXPECT_EQ(labels, tick.shown.value_or(before));
    }
}

const std::optional<QString> Unchanged;
const std::optional<QString> Blank = QString();

TEST(SyncLyric, ShowsEachLineWhenDueAndBlanksJustBefore)
{
    LyricList list = listOf({"0005.00#A ##", "0009.00#B ##"});
    runTicks(list, {{0, Unchanged},
                    {4.79f, Unchanged},
                    {4.8f, Blank},
                    {4.9f, Unchanged},
                    {4.99f, Unchanged},
                    {5.0f, QString("A ")},
                    {5.01f, Unchanged},
                    {8.79f, Unchanged},
                    {8.8f, Blank},
                    {8.99f, Unchanged},
                    {9.0f, QString("B ")},
                    {9.5f, Unchanged},
                    {500, Unchanged}});
    EXPECT_EQ(list.selectedIndex(), 1);
}

TEST(SyncLyric, ShowsTheHeaderAtTheFirstTickOfASong)
{
    LyricList list;
    list.insert(parseLyricText("[ti:Song]\n[ar:Singer]\n[00:00.10]Early\n[00:03.00]Later"));
    list.select(0);
    runTicks(list, {{0, QString("Song - Singer")},
                    {0.01f, Blank},
                    {0.1f, QString("Early ")},
                    {2.0f, Unchanged}});
}

TEST(SyncLyric, CatchesUpOneLinePerTick)
{
    LyricList list = listOf({"   0.00#H", "0001.00#one ##", "0002.00#two ##", "0003.00#three ##"});
    runTicks(list, {{10, QString("H")},
                    {10, QString("one ")},
                    {10, QString("two ")},
                    {10, QString("three ")},
                    {10, Unchanged}});
}

TEST(SyncLyric, ShowsTextUpToAHashOnly)
{
    LyricList list = listOf({"0001.00#a#b ##", "0002.00##", "0003.00# ##"});
    runTicks(list, {{1, QString("a")}, {2, Blank}, {3, QString(" ")}});
}

TEST(SyncLyric, GivesTheSameTextOnlyOnce)
{
    LyricList list = listOf({"0001.00#same ##", "0002.00#same ##", "0002.50#other ##"});
    runTicks(list,
             {{1, QString("same ")}, {2, Unchanged}, {2, Unchanged}, {2.5f, QString("other ")}});
}

// Header, A at 5 s, B at 9 s, C at 20 s.
LyricList songList()
{
    return listOf({"   0.00#Song - Singer", "0005.00#A ##", "0009.00#B ##", "0020.00#C ##"});
}

struct SeekCase
{
    const char *name;
    float seconds;
    int selected;
    std::optional<QString> shown;
};

class RefindLyricLine : public testing::TestWithParam<SeekCase>
{
};

TEST_P(RefindLyricLine, SelectsTheLastLineNotAfterTheSeek)
{
    LyricList list = songList();
    EXPECT_EQ(refindLyricLine(list, GetParam().seconds), GetParam().shown);
    EXPECT_EQ(list.selectedIndex(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Seeks, RefindLyricLine,
    testing::Values(SeekCase{"start", 0, 0, QString("Song - Singer")},
                    SeekCase{"before_first_line", 4.99f, 0, QString("Song - Singer")},
                    SeekCase{"on_a_line", 5, 1, QString("A ")},
                    SeekCase{"between_lines", 10, 2, QString("B ")},
                    SeekCase{"on_the_last_line", 20, 3, Unchanged},
                    SeekCase{"past_the_end", 300, 3, Unchanged}),
    [](const testing::TestParamInfo<SeekCase> &info) { return std::string(info.param.name); });

TEST(RefindLyricLine, PlayGoesOnFromTheSeekBothWays)
{
    LyricList list = songList();
    runTicks(list, {{0, QString("Song - Singer")}, {5, QString("A ")}});

    EXPECT_EQ(refindLyricLine(list, 12), QString("B "));
    runTicks(list, {{12, QString("B ")}, {19.85f, Blank}, {20, QString("C ")}});

    EXPECT_EQ(refindLyricLine(list, 6), QString("A "));
    runTicks(list, {{6, QString("A ")}, {8.8f, Blank}, {9, QString("B ")}});

    EXPECT_EQ(refindLyricLine(list, 25), Unchanged);
    runTicks(list, {{25, QString("C ")}, {26, Unchanged}});
}

TEST(SyncLyric, ChangesNothingWithoutLyrics)
{
    LyricList empty;
    runTicks(empty, {{0, Unchanged}, {100, Unchanged}});
    EXPECT_EQ(refindLyricLine(empty, 10), Unchanged);
    EXPECT_EQ(empty.selectedIndex(), -1);
    LyricList unselected;
    unselected.insert({"0001.00#A ##"});
    runTicks(unselected, {{5, Unchanged}});
    EXPECT_EQ(unselected.selectedIndex(), -1);
}

// Stop selects item 0 again; playing on shows the lyrics from the start.
TEST(SyncLyric, StartsOverAfterStop)
{
    LyricList list = songList();
    runTicks(list, {{0, QString("Song - Singer")}, {5, QString("A ")}, {9, QString("B ")}});
    ASSERT_TRUE(list.select(0));
    runTicks(list, {{0, QString("Song - Singer")}, {4.8f, Blank}, {5, QString("A ")}});
}

// The playback start empties the list and sets the labels itself, so the next song's
// header is given to the labels even when it reads like the last one shown.
TEST(SyncLyric, GivesTheHeaderAgainAfterTheListIsEmptied)
{
    LyricList list = listOf({"   0.00#Same"});
    runTicks(list, {{0, QString("Same")}, {1, Unchanged}});
    list.clear();
    list.insert({"   0.00#Same"});
    list.select(0);
    runTicks(list, {{0, QString("Same")}});
}

struct AlignmentCase
{
    const char *name;
    Qt::Alignment current;
    Qt::Alignment next;
};

class LyricAlignment : public testing::TestWithParam<AlignmentCase>
{
};

TEST_P(LyricAlignment, CyclesLeftCentreRight)
{
    EXPECT_EQ(nextLyricAlignment(GetParam().current), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, LyricAlignment,
    testing::Values(AlignmentCase{"left", Qt::AlignLeft, Qt::AlignHCenter},
                    AlignmentCase{"centre", Qt::AlignHCenter, Qt::AlignRight},
                    AlignmentCase{"right", Qt::AlignRight, Qt::AlignLeft},
                    AlignmentCase{"vertical_kept", Qt::AlignRight | Qt::AlignVCenter,
                                  Qt::AlignLeft | Qt::AlignVCenter},
                    AlignmentCase{"none", Qt::Alignment(), Qt::AlignHCenter}),
    [](const testing::TestParamInfo<AlignmentCase> &info) { return std::string(info.param.name); });

} // namespace
