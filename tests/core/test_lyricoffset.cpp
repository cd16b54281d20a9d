#include "core/lyricoffsets.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "fakes/playerrig.h"
#include "lyrics/lyricparser.h"
#include "support/files.h"
#include "support/qtprinters.h"

namespace {

using Label = DisplayLabels::Label;

LyricList lyricsOf(const QString &lrc)
{
    LyricList list;
    list.insertItems(parseLyricItems(lrc));
    list.select(0);
    return list;
}

struct OffsetRow
{
    Command command;
    // The lyric line then shown, and the song line's notice.
    const char *line;
    const char *notice;
};

// At 5.0 s into song a: each key moves the lines by half a second at once and the song line
// tells the total for a while. That the song keeps it is the desktop lyrics' program test's.
TEST(LyricOffset, KeysMoveTheShownLineAtOnce)
{
    const OffsetRow rows[] = {
        {Command::LyricsLater, "甲", "歌词延后 0.5 秒"},
        {Command::LyricsEarlier, "乙", "歌词时间未调整"},
        {Command::LyricsEarlier, "丙", "歌词提前 0.5 秒"},
        {Command::LyricsEarlier, "丙", "歌词提前 1.0 秒"},
        {Command::LyricsEarlier, "丁", "歌词提前 1.5 秒"},
    };
    PlayerRig rig;
    rig.load(PlayerRig::songs("abc"));
    rig.player.run(Command::LyricsLater);
    EXPECT_EQ(rig.player.labels().text(Label::LInfo), QString()) << "no track, no offset";
    rig.open(PlayerRig::songs("abc"));
    rig.media.setPosition(5.0);
    rig.position().setLyrics(
        lyricsOf("[00:03.80]子\n[00:04.30]甲\n[00:04.80]乙\n[00:05.30]丙\n[00:06.40]丁"));
    for (const OffsetRow &row : rows) {
        rig.player.run(row.command);
        // A line shows with the space before its item's end mark.
        EXPECT_EQ(rig.player.labels().text(Label::LTxtMin), QString::fromUtf8(row.line) + u' ')
            << row.notice;
        EXPECT_EQ(rig.player.labels().text(Label::LInfo), QString::fromUtf8(row.notice));
    }
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rig.player.labels().text(Label::LInfo) == "a"; }, 10'000))
        << "the notice gives way to the song line";

    // The next track starts with its own offset (none); one that follows without a gap takes
    // its own too.
    rig.player.lyricOffsets().setOffset(PlayerRig::song('c'), 1000);
    rig.player.run(Command::NextSong);
    settle(rig.transport());
    EXPECT_EQ(rig.position().lyricOffset(), 0);
    rig.media.followQueued();
    EXPECT_EQ(rig.position().lyricOffset(), 1.0);
    // The writes end before the folder goes.
    rig.player.stop();
}

// The desktop lyrics' lines change on a new line, a seek and the offset, and not on ticks
// that change nothing.
TEST(LyricOffset, KaraokeLinesChangeOnlyWhenTheyDo)
{
    PlayerRig rig;
    rig.open(PlayerRig::songs("a"));
    PlaybackPosition &position = rig.position();
    QSignalSpy changes(&position, &PlaybackPosition::karaokeLinesChanged);
    position.setLyrics(lyricsOf("[00:01.00]一二\n[00:02.00]三"));
    EXPECT_EQ(position.karaokeLines(), (PlaybackPosition::KaraokeLines{0, "", "一二 "}));
    rig.media.setPosition(1.5);
    position.onTimerMain();
    position.onTimerMain();
    EXPECT_EQ(position.karaokeLines(), (PlaybackPosition::KaraokeLines{1, "一二 ", "三 "}));
    EXPECT_DOUBLE_EQ(position.karaokeFill(), 1.5);
    EXPECT_EQ(changes.count(), 2);
    rig.player.run(Command::LyricsLater);
    EXPECT_DOUBLE_EQ(position.karaokeFill(), 0) << "the same line, from its start";
    EXPECT_EQ(changes.count(), 2);
    rig.player.run(Command::LyricsEarlier);
    rig.player.run(Command::LyricsEarlier);
    EXPECT_EQ(position.karaokeLines(), (PlaybackPosition::KaraokeLines{2, "三 ", ""}));
    EXPECT_EQ(changes.count(), 3);
    position.seekTo(0);
    EXPECT_EQ(position.karaokeLines(), (PlaybackPosition::KaraokeLines{0, "", "一二 "}));
    EXPECT_EQ(changes.count(), 4);

    QSignalSpy running(&position, &PlaybackPosition::runningChanged);
    rig.player.run(Command::PauseSong);
    EXPECT_FALSE(position.isRunning());
    EXPECT_EQ(running.count(), 1);
    rig.player.stop();
}

// Lines it does not understand are skipped, a later line of a song counts; the most recently
// changed songs are kept, a changed song moving to the end. A file that is there but cannot be
// read is left as it is.
TEST(LyricOffsetStore, WritesTheNewestChangesButNotOverAFileItCannotRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("zorvan.lof");
    QStringList lines{"1\t/2005.mp3",   "x\t/b.mp3", "\t/c.mp3", "0\t/d.mp3",
                      "700000\t/e.mp3", "300\t",     "no tab"};
    for (int song = 1; song <= MaxLyricOffsetEntries + 5; ++song)
        lines << QStringLiteral("%1\t/%1.mp3").arg(song);
    ASSERT_TRUE(writeTextLines(path, lines).ok);
    LyricOffsets offsets(path);
    offsets.load();
    offsets.setOffset("/6.mp3", -6);
    offsets.setOffset("/7.mp3", 0);
    offsets.setOffset("/音乐.mp3", 500);
    offsets.setOffset("/new.mp3", 1);
    QList<LyricOffsetEntry> expected;
    for (int song = 9; song <= MaxLyricOffsetEntries + 5; ++song)
        expected.append({QStringLiteral("/%1.mp3").arg(song), song});
    expected << LyricOffsetEntry{"/6.mp3", -6} << LyricOffsetEntry{"/音乐.mp3", 500}
             << LyricOffsetEntry{"/new.mp3", 1};
    EXPECT_TRUE(offsets.flush().ok);
    EXPECT_EQ(LoadLyricOffsets(path).value, expected);

    writeFile(path, QByteArray(SmallTextFileLimit + 1, '1'));
    LyricOffsets unreadable(path);
    unreadable.load();
    unreadable.setOffset("/a.mp3", 500);
    unreadable.flush();
    EXPECT_EQ(QFileInfo(path).size(), SmallTextFileLimit + 1);
}

} // namespace
