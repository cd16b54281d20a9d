#include "lyrics/lyricdisplay.h"

#include <optional>

#include <gtest/gtest.h>

#include "lyrics/lyriclist.h"
#include "support/qtprinters.h"

namespace {

const std::optional<QString> Unchanged;
const std::optional<QString> Blank = QString();

LyricList listOf(const QStringList &items)
{
    LyricList list;
    list.insert(items);
    list.select(0);
    return list;
}

// Each tick's position and what the labels then show; Unchanged when they keep their text.
void runTicks(LyricList &list, const QList<std::pair<float, std::optional<QString>>> &ticks)
{
    QString labels = QStringLiteral("(song line)");
    for (const auto &[position, shown] : ticks) {
        const QString before = labels;
        if (const std::optional<QString> text = SyncLyric(list, position))
            labels = *text;
        EXPECT_EQ(labels, shown.value_or(before)) << "position " << position;
    }
}

// Each line shows when due and blanks the labels just before; lines due already are caught
// up one per tick; the text ends at a hash; play goes on from a seek either way. Without lyrics
// or a selection nothing changes. A seek before the first line, past the last and to the start
// after a stop are the player's lyric test (LyricsFollowPlaybackTheSwitchSeeksAndStop).
TEST(SyncLyric, ShowsEachLineWhenDueAndGoesOnFromASeekEitherWay)
{
    LyricList list = listOf({"0005.00#A ##", "0009.00#B ##", "0020.00#C ##"});
    runTicks(list, {{0, Unchanged}, {4.79f, Unchanged}, {4.8f, Blank}, {4.99f, Unchanged}});
    runTicks(list, {{5.0f, "A "}, {8.79f, Unchanged}, {8.8f, Blank}, {9.0f, "B "}});
    EXPECT_EQ(refindLyricLine(list, 6), QString("A "));
    runTicks(list, {{6, "A "}, {8.8f, Blank}, {9, "B "}});
    EXPECT_EQ(refindLyricLine(list, 12), QString("B "));
    runTicks(list, {{12, "B "}, {19.85f, Blank}, {20, "C "}, {500, {}}});
    list = listOf({"   0.00#H", "0001.00#a#b ##", "0002.00#same ##", "0003.00#same ##"});
    runTicks(list, {{10, "H"}, {10, "a"}, {10, "same "}, {10, Unchanged}, {10, Unchanged}});
    LyricList empty, unselected;
    unselected.insert({"0001.00#A ##"});
    runTicks(unselected, {{5, Unchanged}});
    EXPECT_EQ(refindLyricLine(empty, 10), Unchanged);
}

TEST(LyricAlignment, CyclesLeftCentreRightKeepingTheVerticalPart)
{
    // Left to centre is the widget test's click.
    EXPECT_EQ(nextLyricAlignment(Qt::AlignHCenter | Qt::AlignVCenter),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(nextLyricAlignment(Qt::AlignRight), Qt::AlignLeft);
}

} // namespace
