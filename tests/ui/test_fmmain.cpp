#include <QAction>
#include <QMenu>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include "fmmainfixture.h"
#include "ui/dragstrip.h"
#include "ui/fullscreenpanel.h"
#include "ui/keymap.h"
#include "ui/mainwndproc.h"
#include "ui/playlistbox.h"
#include "ui/skinbutton.h"
#include "ui/skintoggle.h"
#include "ui/windowmover.h"

namespace {

using Skin::Control;

// The keys whose codes depend on where they are or which modifier makes them.
TEST(KeyMapTest, TranslatesQtKeysIntoVirtualKeyCodes)
{
    const QList<std::tuple<int, Qt::KeyboardModifiers, int>> cases{
        {Qt::Key_Enter, Qt::KeypadModifier, 13}, {Qt::Key_Equal, Qt::NoModifier, 187},
        {Qt::Key_Plus, Qt::ShiftModifier, 187},  {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::NoModifier, 189},    {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_F12, Qt::NoModifier, 123},      {Qt::Key_Eacute, Qt::NoModifier, 0},
    };
    for (const auto &[key, modifiers, code] : cases)
        EXPECT_EQ(virtualKeyCode(QKeyEvent(QEvent::KeyPress, key, modifiers)), code) << key;
    EXPECT_EQ(modifierBits(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(modifierBits(Qt::ControlModifier | Qt::KeypadModifier), 2);
}

// The place and size at the start are checked on the real program (test_skin_window.sh).
TEST_F(FmMainTest, ShowsTheRestoredListAndItsFirstSong)
{
    media.setTags(QStringLiteral("/m/a.mp3"), QStringLiteral("歌手"), QStringLiteral("歌"));
    load({"/m/a.mp3", "/m/b.mp3"});
    EXPECT_EQ(face().ListSong()->currentIndex().row(), 0);
    EXPECT_EQ(child<QLabel>("LInfo")->text(), "歌手 - 歌");
    EXPECT_EQ(child<QLabel>("LTxtMax")->text(), "歌手 - 歌");

    // A song line longer than its label is cut to it.
    transport().ListSong().setCurrentEntry(1);
    media.setTags(QStringLiteral("/m/b.mp3"), QString(200, QChar(u'长')), QStringLiteral("歌"));
    transport().PlaySong();
    settle();
    EXPECT_EQ(window.width(), Skin::WindowWidth);
}

// Full screen and back; a close in full screen saves the place before it.
TEST_F(FmMainTest, FullScreenAndBackRestoresThePlaceAndTheCloseSavesIt)
{
    SettingsRecord settings;
    settings.shared.ShowList = 0;
    load({"/m/a.mp3", "/m/b.mp3"}, settings);
    window.mover().placeAt(QPoint(40, 50));
    QSignalSpy modes(&window, &FmMain::windowModesChanged);
    // The place and size on the screen, in full screen and back, are checked on the real
    // program (test_skin_window.sh), and that full screen shows the background alone by its
    // screenshots (test_slideshow.sh).
    window.FullScr();
    window.FullScr(); // again: nothing changes
    FullScreenPanel &background = window.PicBg();
    EXPECT_EQ(window.focusWidget(), &background);
    window.OrgScr();
    window.OrgScr(); // again: nothing changes
    EXPECT_TRUE(face().isVisible() && !background.isVisible());
    EXPECT_EQ(window.focusWidget(), &face()) << "the list is hidden: the skin takes the keys";
    EXPECT_EQ(modes.count(), 2);

    window.FullScr();
    window.close();
    EXPECT_EQ(session.settings().windowLeftTwips, 40 * 15) << "the place before full screen";
    EXPECT_EQ(session.settings().windowTopTwips, 50 * 15);
}

TEST_F(FmMainTest, FilesDroppedOnTheListAndTheSkinAreAdded)
{
    load({"/m/a.mp3"});
    const auto drop = [](QWidget *target, const QStringList &urls) {
        QMimeData data;
        data.setUrls(QUrl::fromStringList(urls));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted())
            QCoreApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    };
    // The rules of what is added are the core's; here the drops reach them.
    EXPECT_TRUE(drop(face().ListSong()->viewport(), {"file:///m/\"q\".mp3", "file:///m/z.mp3"}));
    EXPECT_TRUE(drop(&face(), {"file:///m/\"q\".mp3", "file:///m/other.mp3"}));
    EXPECT_FALSE(drop(&face(), {})) << "a drag without files is refused";
    EXPECT_EQ(transport().ListSong().songs(),
              (QStringList{"/m/a.mp3", "/m/q.mp3", "/m/z.mp3", "/m/\"q\".mp3"}));
}

// Which menu a click opens, at the place of the click: the main menu (the left button on the
// icon, the right one elsewhere), the list menu, or none.
TEST_F(FmMainTest, EveryMenuClickOpensItsMenuAtThePlaceOfTheClick)
{
    load();
    window.FullScr();
    QMenu *const main = menus.popmnu();
    const QList<std::tuple<QWidget *, Qt::MouseButton, QMenu *>> cases{
        {face().button(Control::ImgIcon), Qt::LeftButton, main},
        {face().dragStrip(Control::LDrag), Qt::RightButton, main},
        {face().dragStrip(Control::LDrag), Qt::LeftButton, nullptr},
        {child<QLabel>("LInfo"), Qt::RightButton, main},
        {&window.PicBg(), Qt::RightButton, main},
        {face().ListSong()->viewport(), Qt::RightButton, menus.listmenu()},
    };
    for (const auto &[target, button, menu] : cases) {
        QTest::mouseClick(target, button, {}, QPoint(2, 2));
        QMenu *shown = main->isVisible() ? main : menus.listmenu();
        ASSERT_EQ(shown->isVisible() ? shown : nullptr, menu) << qPrintable(target->objectName());
        if (menu) {
            EXPECT_EQ(menu->pos(), target->mapToGlobal(QPoint(2, 2)));
        }
        shown->hide();
    }
}

TEST_F(FmMainTest, KeysReachThePlayerFromTheListTheSkinAndTheBackground)
{
    load();
    // Keys the list passes on to the skin below it are not run twice.
    face().ListSong()->setFocus();
    QTest::keyClick(face().ListSong(), Qt::Key_F12);
    EXPECT_TRUE(window.isOnTop()) << "F12 in the list, once";
    QTest::keyClick(face().ListSong(), Qt::Key_Down);
    EXPECT_EQ(media.volume(), -160) << "Down lowers the volume";
    EXPECT_EQ(face().ListSong()->currentIndex().row(), 1) << "and moves the list";

    face().setFocus();
    QTest::keyClick(&face(), Qt::Key_Delete);
    EXPECT_EQ(transport().ListSong().count(), 3) << "Delete removes songs in the list only";
    // Into full screen from the skin, back from the background: the list has the keys again.
    QTest::keyClick(&face(), Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(&window.PicBg(), Qt::Key_Escape);
    EXPECT_EQ(window.focusWidget(), face().ListSong());

    QTest::keyClick(face().ListSong(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(transport().ListSong().count(), 2) << "Ctrl+Delete in the list deletes";
}

// A letter typed in the list makes current the next song whose name holds it, not one whose
// path begins with it (the rule itself: tests/core/test_playlistmodel.cpp).
TEST_F(FmMainTest, ALetterTypedInTheListFindsTheNextSongHoldingIt)
{
    load({"/m/a.mp3", "/e/b.mp3", "/m/Zed.mp3"});
    QTest::keyClick(face().ListSong(), Qt::Key_E);
    EXPECT_EQ(transport().ListSong().CurrentEntry(), 2);
}

TEST_F(FmMainTest, TheTitleFollowsActivationOnceTheWatcherIsInstalled)
{
    const auto colour = [&] {
        return child<QLabel>("LTitle")->palette().color(QPalette::WindowText);
    };
    QWidget other;
    other.show();
    load();
    for (QWidget *target : std::initializer_list<QWidget *>{&window, &other, &window}) {
        target->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(target));
        EXPECT_EQ(colour(),
                  target == &window ? MainWndProc::ActiveColour : MainWndProc::InactiveColour);
    }
}

TEST_F(FmMainTest, DoubleClickPlaysAndTheLyricLineCyclesItsAlignment)
{
    load();
    PlaylistBox *list = face().ListSong();
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    settle();
    EXPECT_EQ(media.fileName(), "/m/b.mp3");
    EXPECT_TRUE(transport().PlayingFlag());

    auto *lyric = child<QLabel>("LTxtMin");
    QTest::mouseClick(lyric, Qt::LeftButton);
    EXPECT_EQ(lyric->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

} // namespace
