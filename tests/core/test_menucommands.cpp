#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "core/player.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/fakewindow.h"
#include "support/qtprinters.h"

namespace {

using Label = DisplayLabels::Label;

// The player with a list of six songs; "2" is /m/2.mp3, and so on.
class MenuCommandsTest : public testing::Test
{
protected:
    Playlist &list() { return player.transport().ListSong(); }
    void loadSongs()
    {
        for (int number = 1; number <= 6; ++number)
            list().append({QStringLiteral("/m/%1.mp3").arg(number)});
    }
    void play(int row)
    {
        list().setCurrentEntry(row);
        player.transport().PlaySong();
        const QDeadlineTimer deadline(5000);
        while (player.transport().isBusy() && !deadline.hasExpired()) {
            QCoreApplication::sendPostedEvents();
            QThread::yieldCurrentThread();
        }
    }
    QString lyricLabels()
    {
        const QString min = player.labels().text(Label::LTxtMin);
        return QStringLiteral("%1 | %2").arg(min, player.labels().text(Label::LTxtMax));
    }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    FakeWindow window;
    Player player{media, session, window};
};

// Keeping only the highlighted songs: they stay in their order, the current entry follows its
// row or goes with it, and the song that plays goes on.
TEST_F(MenuCommandsTest, DeleteNotSelectedKeepsTheHighlightedSongsOnly)
{
    const struct
    {
        QList<int> highlighted;
        int current;
        QStringList kept;
        int currentAfter;
    } cases[] = {
        {{1, 4}, 4, {"/m/2.mp3", "/m/5.mp3"}, 1},
        {{}, 0, {}, -1},
        {{0, 1, 2, 3, 4, 5},
         5,
         {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3", "/m/4.mp3", "/m/5.mp3", "/m/6.mp3"},
         5},
        {{0, 1, 2, 3, 4}, 5, {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3", "/m/4.mp3", "/m/5.mp3"}, -1},
        {{5}, 2, {"/m/6.mp3"}, -1},
    };
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << ++number);
        list().clear();
        loadSongs();
        play(c.current);
        for (const int row : c.highlighted)
            list().setHighlighted(row, true);
        list().removeNotHighlighted();
        EXPECT_EQ(list().songs(), c.kept);
        EXPECT_EQ(list().CurrentEntry(), c.currentAfter);
        EXPECT_EQ(media.fileName(), QStringLiteral("/m/%1.mp3").arg(c.current + 1));
        EXPECT_TRUE(player.transport().PlayingFlag());
    }
    list().clear();
    list().removeNotHighlighted();
    EXPECT_EQ(list().count(), 0) << "an empty list stays empty";
}

// The lyric switch: off, the labels show the song line and the lyric steps change nothing;
// on again, the line due at the position shows at once.
TEST_F(MenuCommandsTest, LyricLinesHideAndComeBackAtTheLineDueNow)
{
    QFile lyric(dir.filePath(QStringLiteral("song.lrc")));
    ASSERT_TRUE(lyric.open(QIODevice::WriteOnly));
    lyric.write("[ti:T]\n[ar:A]\n[00:05.00]first\n[00:09.00]second\n");
    lyric.close();
    const QString song = dir.filePath(QStringLiteral("song.mp3"));
    media.setDuration(song, 218);
    list().append({song});
    play(0);
    PlaybackPosition &position = player.position();
    QSignalSpy switched(&position, &PlaybackPosition::showsLyricsChanged);
    const struct
    {
        double seconds;
        QString shown;
    } cases[] = {
        {0, "T - A | T - A"},
        {6, "first  | first "},
        {9.5, "second  | second "}, // past the last line
    };
    for (const auto &c : cases) {
        media.setPosition(c.seconds > 3 ? c.seconds - 3 : 0);
        position.onTimerMain();
        position.setShowsLyrics(false);
        EXPECT_EQ(lyricLabels(), " | song") << c.seconds;
        media.setPosition(c.seconds);
        position.onTimerMain();
        EXPECT_EQ(lyricLabels(), " | song") << "hidden lines do not show " << c.seconds;
        position.setShowsLyrics(true);
        EXPECT_EQ(lyricLabels(), c.shown) << c.seconds;
        position.setShowsLyrics(true);
    }
    EXPECT_EQ(switched.count(), 6) << "a change is told, a repeat is not";
}

} // namespace
