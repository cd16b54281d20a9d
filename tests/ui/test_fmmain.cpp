#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/commandline.h"
#include "core/session.h"
#include "fakes/fakemediacontrol.h"
#include "fakes/scriptedchooser.h"
#include "ui/fmmain.h"
#include "ui/keymap.h"

namespace {

TEST(KeyMapTest, TranslatesQtKeysIntoVirtualKeyCodes)
{
    struct Case
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    // The keys whose codes depend on where they are or which modifier makes them.
    const QList<Case> cases{
        {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_Equal, Qt::NoModifier, 187},
        {Qt::Key_Plus, Qt::ShiftModifier, 187},  {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::NoModifier, 189},    {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_F12, Qt::NoModifier, 123},      {Qt::Key_Eacute, Qt::NoModifier, 0},
    };
    for (const Case &c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(virtualKeyCode(event), c.code) << c.key;
    }
    EXPECT_EQ(modifierBits(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(modifierBits(Qt::ControlModifier | Qt::KeypadModifier), 2);
}

class FmMainTest : public testing::Test
{
protected:
    FmMainTest()
    {
        QFile list(session.path(Session::File::Playlist));
        list.open(QIODevice::WriteOnly);
        list.write("/m/a.mp3\r\n/m/b.mp3\r\n/m/c.mp3\r\n");
        list.close();
        media.setTags(QStringLiteral("/m/a.mp3"), QStringLiteral("歌手"), QStringLiteral("歌"));
        window.Form_Load({});
        settle();
        listView = window.findChild<QListView *>(QStringLiteral("ListSong"));
    }
    void settle()
    {
        for (int turn = 0; turn < 100 && transport().isBusy(); ++turn)
            QCoreApplication::sendPostedEvents();
    }
    Transport &transport() { return window.player().transport(); }

    QTemporaryDir dir;
    Session session{dir.path()};
    FakeMediaControl media;
    ScriptedChooser chooser;
    FmMain window{media, session, chooser};
    QListView *listView = nullptr;
};

TEST_F(FmMainTest, ShowsTheRestoredListAndItsFirstSong)
{
    ASSERT_NE(listView, nullptr);
    EXPECT_EQ(listView->model()->rowCount(), 3);
    EXPECT_EQ(listView->currentIndex().row(), 0);
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("LInfo"))->text(), "歌手 - 歌");
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("LTime"))->text(), "00:00");
    EXPECT_TRUE(window.findChild<QLabel *>(QStringLiteral("LTxtMin"))->isVisible());
    EXPECT_FALSE(window.findChild<QLabel *>(QStringLiteral("LTxtMax"))->isVisible());
}

TEST_F(FmMainTest, KeysInTheListRunCommandsAndStillMoveTheList)
{
    QTest::keyClick(listView, Qt::Key_Return);
    EXPECT_TRUE(transport().PlayingFlag()) << "Enter resumes the loaded song";
    QTest::keyClick(listView, Qt::Key_Down);
    EXPECT_EQ(media.volume(), -160) << "Down lowers the volume";
    EXPECT_EQ(listView->currentIndex().row(), 1) << "and moves the list";
    EXPECT_EQ(media.fileName(), "/m/a.mp3") << "without playing the new entry";
    QTest::keyClick(listView, Qt::Key_P, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(media.fileName(), "/m/b.mp3");
    QTest::keyClick(listView, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(media.log.filter(QStringLiteral("open")).size(), 2) << "Ctrl+P does nothing";
}

TEST_F(FmMainTest, DeleteRemovesTheHighlightedSongsAndDoubleClickPlays)
{
    QTest::keyClick(listView, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(transport().ListSong().songs(), (QStringList{"/m/b.mp3", "/m/c.mp3"}));

    const QRect second = listView->visualRect(listView->model()->index(1, 0));
    QTest::mouseClick(listView->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(listView->viewport(), Qt::LeftButton, {}, second.center());
    settle();
    EXPECT_EQ(media.fileName(), "/m/c.mp3");
    EXPECT_TRUE(transport().PlayingFlag());
}

TEST_F(FmMainTest, LyricLineCyclesItsAlignmentAndTakesAChosenLyricFile)
{
    auto *lyric = window.findChild<QLabel *>(QStringLiteral("LTxtMin"));
    QList<Qt::Alignment> seen;
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(lyric, Qt::LeftButton);
        seen << (lyric->alignment() & Qt::AlignHorizontal_Mask);
    }
    EXPECT_EQ(seen, (QList<Qt::Alignment>{Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft}));

    QFile file(dir.filePath(QStringLiteral("chosen.lrc")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[ti:Chosen]\n[00:01.00]line\n");
    file.close();
    chooser.m_answer = file.fileName();
    auto *button = window.findChild<QPushButton *>(QStringLiteral("chooseLyric"));
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(chooser.m_calls, 1);
    EXPECT_EQ(window.player().position().ListLyric().count(), 2);
}

TEST_F(FmMainTest, ClosingSavesTheList)
{
    transport().DelSelectedSong();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(media.fileName(), "");
    QFile list(session.path(Session::File::Playlist));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "/m/b.mp3\r\n/m/c.mp3\r\n");
}

} // namespace
