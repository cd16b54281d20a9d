#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "fakes/settle.h"
#include "support/qtprinters.h"

namespace {

// Keeping only the highlighted songs: they stay in their order; the current entry follows its
// row, or there is none when its row went.
TEST(PlaylistTest, RemoveNotHighlightedKeepsTheHighlightedSongsOnly)
{
    const struct
    {
        QList<int> highlighted;
        int current;
        QStringList kept;
        int currentAfter;
    } cases[] = {
        {{1, 4}, 4, {"2", "5"}, 1},
        {{}, 0, {}, -1},
        {{0, 1, 2, 3, 4, 5}, 5, {"1", "2", "3", "4", "5", "6"}, 5},
        {{0, 1, 2, 3, 4}, 5, {"1", "2", "3", "4", "5"}, -1},
        {{5}, 2, {"6"}, -1},
    };
    for (const auto &c : cases) {
        Playlist list;
        list.append({"1", "2", "3", "4", "5", "6"});
        list.setCurrentEntry(c.current);
        for (const int row : c.highlighted)
            list.setHighlighted(row, true);
        list.removeNotHighlighted();
        EXPECT_EQ(list.songs(), c.kept) << c.kept.join(u' ').toStdString();
        EXPECT_EQ(list.CurrentEntry(), c.currentAfter) << c.kept.join(u' ').toStdString();
    }
}

// The lyric switch: off, the labels show the song line and the lyric steps change nothing;
// on again, the line due at the position shows at once.
TEST(PlaybackPositionTest, LyricLinesHideAndComeBackAtTheLineDueNow)
{
    QTemporaryDir dir;
    QFile lyric(dir.filePath("song.lrc"));
    ASSERT_TRUE(lyric.open(QIODevice::WriteOnly));
    lyric.write("[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n");
    lyric.close();
    Session session(dir.path());
    FakeMediaControl media;
    FakeWindow window;
    Player player(media, session, window);
    player.transport().ListSong().append({dir.filePath("song.mp3")});
    player.transport().ListSong().setCurrentEntry(0);
    player.transport().PlaySong();
    settle(player.transport());
    PlaybackPosition &position = player.position();
    QSignalSpy switched(&position, &PlaybackPosition::showsLyricsChanged);
    const auto labels = [&] {
        const DisplayLabels &texts = player.labels();
        return texts.text(DisplayLabels::Label::LTxtMin) + u'|' +
               texts.text(DisplayLabels::Label::LTxtMax);
    };
    // Past the last line the lookup of the due line leaves it to the next step.
    for (const auto &[seconds, shown] :
         {std::pair{0.0, "T - A|T - A"}, {6.0, "first |first "}, {9.5, "second |second "}}) {
        media.setPosition(seconds / 2);
        position.onTimerMain();
        position.setShowsLyrics(false);
        EXPECT_EQ(labels(), "|song") << seconds;
        media.setPosition(seconds);
        position.onTimerMain();
        EXPECT_EQ(labels(), "|song") << "hidden lines do not show " << seconds;
        position.setShowsLyrics(true);
        position.setShowsLyrics(true);
        EXPECT_EQ(labels(), shown) << seconds;
    }
    EXPECT_EQ(switched.count(), 6) << "a change is told, a repeat is not";
}

} // namespace
