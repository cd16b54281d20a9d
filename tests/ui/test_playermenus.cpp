#include <functional>

#include <QPushButton>
#include <QTest>

#include "core/keycommands.h"
#include "dialogs/fmabout.h"
#include "menusfixture.h"
#include "ui/normalpanel.h"
#include "ui/playlistbox.h"

namespace {

// Name and caption of every item in order, "-" for a separator, submenus indented.
QStringList itemsOf(const QMenu *menu, const QString &indent = {})
{
    QStringList items;
    for (const QAction *action : menu->actions()) {
        items << indent + action->objectName() + u' ' +
                     (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (action->menu())
            items << itemsOf(action->menu(), indent + QStringLiteral("  "));
    }
    return items;
}

TEST_F(MenusTest, CaptionsOrderSeparatorsAndSubmenus)
{
    EXPECT_EQ(itemsOf(menus.popmnu()), (QStringList{"mnuAlOntop 总在最前面(&T) Ctrl+T",
                                                    "line1 -",
                                                    "mnuFullScr 全屏显示(&F)   Alt+Enter",
                                                    "line2 -",
                                                    "mnuPlay 播放(&P)       P",
                                                    "mnuPause 暂停(&P)       Enter",
                                                    "line35 -",
                                                    "mnuFastForward 快进(&F)       →",
                                                    "mnuFastPre 快退(&E)       ←",
                                                    "line65 -",
                                                    "mnuPreSong 上一首(&R)     -",
                                                    "mnuNextSong 下一首(&N)     +",
                                                    "line10 -",
                                                    "mnuSound 声音(&N)",
                                                    "  mnuSoundUp 增加音量(&+)   ↑",
                                                    "  mnuSoundDown 减小音量(&-)   ↓",
                                                    "  mnuMute 静音开关(&M)    M",
                                                    "  line4 -",
                                                    "  mnuStereo 立体声(&T)",
                                                    "  mnuLeft 左声道(&L)",
                                                    "  mnuRight 右声道(&R)",
                                                    "line9 -",
                                                    "mnushowly 显示歌词(&Y)",
                                                    "mnuSelectLyric 选择歌词(&L)",
                                                    "line6 -",
                                                    "mnuOption 选项(&O)...",
                                                    "  mnuOptionSet 参数设置(&S)...",
                                                    "mnuAbout 关于...(&U)",
                                                    "line8 -",
                                                    "mnuExit 退出(&X)        Alt+F4"}));
    EXPECT_EQ(itemsOf(menus.listmenu()), (QStringList{"listPlay 播放音乐文件(&P)", "lin13 -",
                                                      "listDelSelected 删除所选音乐文件(&S)",
                                                      "listDelNotSelected 删除未选音乐文件(&U)",
                                                      "listDelAll 删除所有音乐文件(&D)"}));
    for (QAction *action : menus.popmnu()->findChildren<QAction *>())
        EXPECT_TRUE(action->shortcut().isEmpty()) << qPrintable(action->objectName());
}

// The check marks follow the states whichever way they change: from the menu, the keys or
// the knob, and across an opening and closing of the options dialog.
TEST_F(MenusTest, CheckMarksShowTheStatesAfterEveryCommand)
{
    load();
    const char *const marked[] = {"mnuPlay",   "mnuPause", "mnuAlOntop", "mnuFullScr", "mnuMute",
                                  "mnuStereo", "mnuLeft",  "mnuRight",   "mnushowly"};
    const auto marks = [&] {
        QStringList on;
        for (const char *name : marked) {
            if (item(name)->isChecked())
                on << QLatin1String(name);
        }
        return on.join(u' ');
    };
    const auto choose = [this](const char *name) {
        return [this, name] { item(name)->trigger(); };
    };
    const auto key = [this](VirtualKey code) {
        return [this, code] { window.player().HandleKey(int(code), 0); };
    };
    const struct
    {
        std::function<void()> command;
        const char *marks;
    } steps[] = {
        {[] {}, "mnuPause mnuStereo mnushowly"},
        {choose("mnuPlay"), "mnuPlay mnuStereo mnushowly"},
        {key(VirtualKey::Enter), "mnuPause mnuStereo mnushowly"},
        {choose("mnuPause"), "mnuPlay mnuStereo mnushowly"},
        {choose("mnuAlOntop"), "mnuPlay mnuAlOntop mnuStereo mnushowly"},
        {choose("mnuFullScr"), "mnuPlay mnuAlOntop mnuFullScr mnuStereo mnushowly"},
        {key(VirtualKey::Escape), "mnuPlay mnuAlOntop mnuStereo mnushowly"},
        {choose("mnuMute"), "mnuPlay mnuAlOntop mnuMute mnuStereo mnushowly"},
        {choose("mnuLeft"), "mnuPlay mnuAlOntop mnuMute mnuLeft mnushowly"},
        {[this] {
             window.player().sound().balanceKnobDragged(3);
             window.player().sound().balanceKnobReleased();
         },
         "mnuPlay mnuAlOntop mnuMute mnushowly"},
        {choose("mnuRight"), "mnuPlay mnuAlOntop mnuMute mnuRight mnushowly"},
        {choose("mnushowly"), "mnuPlay mnuAlOntop mnuMute mnuRight"},
        {[this] { openOptions()->close(); }, "mnuPlay mnuAlOntop mnuMute mnuRight"},
        {choose("mnuAlOntop"), "mnuPlay mnuMute mnuRight"},
        {choose("mnuMute"), "mnuPlay mnuRight"},
        {choose("mnushowly"), "mnuPlay mnuRight mnushowly"},
        {choose("mnuPlay"), "mnuPlay mnuRight mnushowly"},
        {key(VirtualKey::Enter), "mnuPause mnuRight mnushowly"},
    };
    for (int number = 0; number < int(std::size(steps)); ++number) {
        steps[number].command();
        settle();
        EXPECT_EQ(marks(), steps[number].marks) << "step " << number;
    }
    EXPECT_FALSE(window.isOnTop());
    EXPECT_FALSE(media.isMuted());
}

TEST_F(MenusTest, ListMenuItemsRunOnTheListAndWriteNothing)
{
    load({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
    const QByteArray saved = [&] {
        QFile file(session.path(Session::File::Playlist));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    Playlist &list = transport().ListSong();
    list.setHighlighted(0, false);
    list.setHighlighted(2, true);
    list.setCurrentEntry(2);
    item("listPlay")->trigger();
    settle();
    EXPECT_EQ(media.fileName(), "/m/c.mp3");
    item("listDelSelected")->trigger();
    list.setHighlighted(1, true);
    item("listDelNotSelected")->trigger();
    EXPECT_EQ(list.songs(), QStringList{"/m/b.mp3"});
    item("listDelAll")->trigger();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(transport().PlayingFlag()) << "the song plays on";
    QFile file(session.path(Session::File::Playlist));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
}

// The options dialog and the about box open once each, not modal; the menus open where the
// mouse was released; the shutdown closes them all.
TEST_F(MenusTest, MenusOpenAtTheClickAndTheShutdownClosesEveryWindow)
{
    load();
    FmTmp *options = openOptions();
    EXPECT_EQ(openOptions(), options) << "one options dialog at a time";
    EXPECT_TRUE(options->isVisible() && !options->isModal());
    QTest::mouseClick(control<QPushButton>("CmdAddDir"), Qt::LeftButton);
    const QPointer<FmShowDir> chooser = options->folderChooser();
    item("mnuAbout")->trigger();
    const QPointer<fmAbout> about = menus.about();
    ASSERT_TRUE(chooser && about && about->isVisible() && chooser->isVisible());

    const QPoint at(120, 60);
    QTest::mouseClick(&face(), Qt::RightButton, {}, at);
    EXPECT_TRUE(menus.popmnu()->isVisible());
    EXPECT_EQ(menus.popmnu()->pos(), face().mapToGlobal(at));
    menus.popmnu()->hide();
    QTest::mouseClick(face().ListSong()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(menus.listmenu()->isVisible());

    window.close();
    deleteClosed();
    EXPECT_FALSE(menus.options() || chooser || about);
    EXPECT_FALSE(menus.listmenu()->isVisible());
    EXPECT_EQ(media.fileName(), "") << "the player stopped first";
}

} // namespace
