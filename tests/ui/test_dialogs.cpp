#include <functional>
#include <utility>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>

#include "core/command.h"
#include "fmmainfixture.h"
#include "support/files.h"
#include "ui/fullscreenpanel.h"
#include "ui/playermenus.h"
#include "ui/playlistbox.h"
#include "ui/trayicon.h"
#include "ui/windowmover.h"

namespace {

// The main window with its menus, the registry in memory and the options dialog's choosers
// scripted.
class DialogsTest : public FmMainTest
{
protected:
    void TearDown() override { EXPECT_EQ(messages.shown, QStringList()); }

    QString path(Session::File file) const { return session.path(file); }
    // The items of a list of the options dialog (the ticked ones only).
    QStringList texts(const char *name, bool tickedOnly = false) const
    {
        const auto *list = control<QListWidget>(name);
        QStringList items;
        for (int row = 0; row < list->count(); ++row)
            if (!tickedOnly || list->item(row)->checkState() == Qt::Checked)
                items << list->item(row)->text();
        return items;
    }
    // What the options dialog shows, page by page.
    QString shown() const
    {
        const auto on = [this](const char *name) {
            return control<QAbstractButton>(name)->isChecked();
        };
        const auto *snap = control<QSpinBox>("TextOffScrPix");
        return QStringLiteral("%1 %2 %3 | %4 | %5 | %6 | %7 | %8 | %9")
            .arg(QString::number(snap->value()), on("Check1") ? "on" : "off",
                 snap->isEnabled() ? "open" : "shut",
                 on("OptTask")     ? "task"
                 : on("OptSystem") ? "tray"
                 : on("OptSyTsk")  ? "both"
                                   : "none",
                 on("CheckFullScr") ? "full" : "normal",
                 QString::number(control<QSpinBox>("TextPicShowPerTime")->value()),
                 texts("ListPicFile").join(u','), texts("ListLyricDir").join(u','),
                 texts("List1", true).join(u','));
    }
    // Opens `folder` in the folder chooser and confirms it.
    void addFolder(const QString &folder)
    {
        click("CmdAddDir");
        FmShowDir *chooser = menus.options()->folderChooser();
        ASSERT_TRUE(chooser->setOpenFolder(folder));
        QTest::mouseClick(chooser->findChild<QPushButton *>("CmdOK"), Qt::LeftButton);
    }
};

// The check marks follow the states whichever way they change: from the menu, the keys or
// the knob, and across an opening and closing of the options dialog.
TEST_F(DialogsTest, CheckMarksShowTheStatesAfterEveryCommand)
{
    load();
    const auto marks = [&] {
        QStringList on;
        for (const char *name : {"mnuPlay", "mnuPause", "mnuAlOntop", "mnuFullScr", "mnuMute",
                                 "mnuStereo", "mnuLeft", "mnuRight", "mnushowly"})
            if (item(name)->isChecked())
                on << name;
        return on.join(u' ');
    };
    const auto choose = [this](const char *name) { return [=, this] { item(name)->trigger(); }; };
    const auto key = [this](VirtualKey code) {
        return [=, this] { window.player().HandleKey(int(code), 0); };
    };
    SoundControls &sound = window.player().sound();
    const struct
    {
        std::function<void()> command;
        const char *marks;
    } steps[] = {
        {[] {}, "mnuPause mnuStereo mnushowly"},
        {choose("mnuPlay"), "mnuPlay mnuStereo mnushowly"},
        {choose("mnuAlOntop"), "mnuPlay mnuAlOntop mnuStereo mnushowly"},
        {choose("mnuFullScr"), "mnuPlay mnuAlOntop mnuFullScr mnuStereo mnushowly"},
        {key(VirtualKey::Escape), "mnuPlay mnuAlOntop mnuStereo mnushowly"},
        {choose("mnuMute"), "mnuPlay mnuAlOntop mnuMute mnuStereo mnushowly"},
        {choose("mnuRight"), "mnuPlay mnuAlOntop mnuMute mnuRight mnushowly"},
        {[&] { sound.balanceKnobDragged(3), sound.balanceKnobReleased(); },
         "mnuPlay mnuAlOntop mnuMute mnushowly"},
        {choose("mnushowly"), "mnuPlay mnuAlOntop mnuMute"},
        {[this] { openOptions()->close(); }, "mnuPlay mnuAlOntop mnuMute"},
        {key(VirtualKey::Enter), "mnuPause mnuAlOntop mnuMute"},
    };
    for (int number = 0; number < int(std::size(steps)); ++number) {
        steps[number].command();
        settle();
        EXPECT_EQ(marks(), steps[number].marks) << "step " << number;
    }
}

// The list menu's items reach the list; the options dialog and the about box open once each,
// not modal; the shutdown closes them all, an open menu too.
TEST_F(DialogsTest, ListMenuItemsAndTheShutdownClosesEveryWindow)
{
    load({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3"});
    Playlist &list = transport().ListSong();
    list.setCurrentEntry(2);
    item("listPlay")->trigger();
    item("listDelSelected")->trigger(); // the first, highlighted at the start
    list.setHighlighted(1, true);
    item("listDelNotSelected")->trigger();
    EXPECT_EQ(list.songs(), QStringList{"/m/c.mp3"});
    item("listDelAll")->trigger();
    settle();
    // That the track's end then stops the player is the remote control's test (test_mpris.cpp).
    EXPECT_TRUE(list.count() == 0 && media.fileName() == "/m/c.mp3" && transport().PlayingFlag());

    FmTmp *options = openOptions();
    EXPECT_TRUE(openOptions() == options && options->isVisible() && !options->isModal());
    click("CmdAddDir");
    const QPointer<FmShowDir> chooser = options->folderChooser();
    item("mnuAbout")->trigger();
    const QPointer<fmAbout> about = menus.about();
    ASSERT_TRUE(chooser && about && about->isVisible() && chooser->isVisible());
    menus.listmenu()->popup(QPoint(5, 5));
    window.close();
    deleteClosed();
    EXPECT_FALSE(menus.options() || chooser || about || menus.listmenu()->isVisible());
    EXPECT_EQ(media.fileName(), "") << "the player stopped first";
}

// "确定": the settings at once (the snapping distance only from the next start), the lists,
// the file types; then the dialog closes. A file that cannot be written is reported, naming
// it, and keeps the dialog open with its edits for the next "确定". Writing the files is the
// session's.
TEST_F(DialogsTest, ConfirmAppliesAndWritesEverything)
{
    load();
    const QString good = dir.filePath("a.png"), bad = dir.filePath("b.jpg");
    QImage(4, 4, QImage::Format_RGB32).save(good);
    QDir(dir.path()).mkdir("lrc");
    openOptions();
    control<QSpinBox>("TextPicShowPerTime")->setValue(8);
    control<QSpinBox>("TextOffScrPix")->setValue(30);
    QFont font(QStringLiteral("黑体"), 20);
    font.setStrikeOut(true);
    choosers.font = FontChoice{font, Qt::red};
    choosers.colour = Qt::green;
    choosers.pictures = {good, bad};
    for (const char *name : {"OptSyTsk", "CheckFullScr", "LabelFont", "Command1"})
        click(name);
    QTest::mouseClick(control("PicFont"), Qt::LeftButton, {},
                      control("PicFont")->rect().bottomRight());
    EXPECT_EQ(choosers.fontPreset.font.family(), "宋体") << "preset with the sample";
    auto *pictures = control<QListWidget>("ListPicFile");
    for (int row : {0, 1})
        QTest::mouseClick(pictures->viewport(), Qt::LeftButton, {},
                          pictures->visualItemRect(pictures->item(row)).center());
    EXPECT_EQ(std::exchange(messages.shown, {}), QStringList{"图片文件错误！"})
        << "b.jpg does not load";
    EXPECT_FALSE(control<QLabel>("ImgView")->pixmap().isNull()) << "a.png stays in the preview";
    click("CmdRemovePic");
    // The folder chooser: a double click opens a subfolder, a folder that cannot be read keeps
    // the open one; "确定" adds the open folder with a trailing "/", "取消" nothing.
    click("CmdAddDir");
    FmShowDir *chooser = menus.options()->folderChooser();
    auto *folders = chooser->findChild<QTreeWidget *>("Dir1");
    ASSERT_TRUE(chooser->setOpenFolder(dir.path()));
    EXPECT_FALSE(chooser->setOpenFolder(dir.filePath("none")));
    const QPoint lrc =
        folders->visualItemRect(folders->findItems("lrc", Qt::MatchRecursive).value(0)).center();
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, lrc);
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, lrc);
    EXPECT_EQ(chooser->openFolder(), dir.filePath("lrc"));
    QTest::mouseClick(chooser->findChild<QPushButton *>("CmdOK"), Qt::LeftButton);
    click("CmdAddDir");
    QTest::mouseClick(menus.options()->folderChooser()->findChild<QPushButton *>("CmdCancel"),
                      Qt::LeftButton);
    control<QListWidget>("List1")->item(0)->setCheckState(Qt::Checked);
    // The pictures' file fails before anything is written, the settings' after the lists and
    // the file types: neither applies a setting.
    const SettingsRecord before = session.settings();
    const QFont lyricFont = window.PicBg().LTxtMax()->font();
    QSignalSpy settingsChanged(&session, &Session::settingsChanged);
    for (const Session::File blocked : {Session::File::Pictures, Session::File::Settings}) {
        QFile::remove(path(blocked));
        QDir().mkdir(path(blocked));
        click("CmdOK");
        QDir().rmdir(path(blocked));
        deleteClosed();
        ASSERT_NE(menus.options(), nullptr);
        const QStringList failures = std::exchange(messages.shown, {});
        ASSERT_EQ(failures.size(), 1);
        EXPECT_TRUE(failures[0].startsWith(writeFailureText(path(blocked), "")));
        EXPECT_EQ(session.settings(), before) << "not written, not applied";
        EXPECT_EQ(window.PicBg().LTxtMax()->font(), lyricFont);
        EXPECT_EQ(readAssociationTicks(regist) == AssociationTicks{},
                  blocked == Session::File::Pictures);
    }

    // The settings written hold the window's place and the volume as they are at the press: a
    // player that ends without its shutdown comes back as it was.
    window.move(window.pos() + QPoint(150, 90));
    window.player().run(Command::VolumeDown);
    click("CmdOK");
    deleteClosed();
    EXPECT_EQ(menus.options(), nullptr);
    EXPECT_EQ(settingsChanged.count(), 1) << "applied once, by the press that wrote them";
    const SettingsRecord &settings = session.settings();
    EXPECT_EQ(settings.shared, (SharedSettings{30, 2, 5, 1, 1, 8}));
    SettingsRecord written;
    LoadSettings(path(Session::File::Settings), written);
    EXPECT_TRUE(written.volume == media.volume() && media.volume() != before.volume);
    EXPECT_EQ(QPointF(written.windowLeftTwips, written.windowTopTwips),
              window.placeToKeep().value_or(QPointF(-1, -1)));
    EXPECT_EQ(window.mover().snapTwips(), 12 * 15) << "the new distance waits for a start";
    const QLabel *lyric = window.PicBg().LTxtMax();
    EXPECT_TRUE(lyric->font().family() == "黑体" && lyric->font().strikeOut());
    EXPECT_EQ(lyric->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(settings.picBottomColour, 0x00FF00);
    EXPECT_TRUE(session.ListPic() == QStringList{good} && session.shownPicture() == 0);
    EXPECT_EQ(session.ListLyricDir(), QStringList{dir.filePath("lrc/")});
    EXPECT_EQ(readFile(path(Session::File::Pictures)), good.toUtf8() + "\r\n[END]\r\n");
    EXPECT_EQ(readAssociationTicks(regist), (AssociationTicks{true, false, false, false}));
}

// Filled from the settings, the list files (relative pictures resolved) and the registry,
// numbers out of range as the nearest that works; Check1 switches the snapping. "取消" after
// edits of every kind changes no file, setting or registry value, and the next opening shows
// the same again (the close box and Esc reject the dialog as "取消" does).
TEST_F(DialogsTest, FilledEachTimeAndCancelChangesNothing)
{
    load();
    SettingsRecord settings = session.settings();
    settings.shared = {0, 1, 5, 1, 1, 500};
    session.setSettings(settings);
    writeFile(path(Session::File::Pictures), "one.jpg\r\n/p/two.bmp\r\n[END]\r\nlate.jpg\r\n");
    regist.CreateRegKey("HKEY_CLASSES_ROOT\\.mp3");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "", "zorvanplayer.file");
    openOptions(), addFolder(QDir::rootPath()), click("CmdOK"); // the root as it is
    const QString filled =
        "0 off shut | tray | full | 65 | " + dir.filePath("one.jpg") + ",/p/two.bmp | / | mp3";
    EXPECT_EQ(openOptions() ? shown() : "", filled);
    auto *snap = control<QSpinBox>("TextOffScrPix");
    const std::function<void()> steps[] = {
        [&] { click("Check1"); }, [&] { snap->setValue(40), click("Check1"); },
        [&] { click("Check1"); }, [&] { snap->setValue(0), emit snap->editingFinished(); }};
    QStringList seen;
    for (const auto &step : steps)
        seen << (step(), shown().section(QStringLiteral(" | "), 0, 0));
    EXPECT_EQ(seen, (QStringList{"12 on open", "0 off shut", "40 on open", "0 off shut"}));
    menus.options()->close();

    const auto files = [this] {
        return readFile(path(Session::File::Settings)) + readFile(path(Session::File::Playlist)) +
               readFile(path(Session::File::Pictures)) +
               readFile(path(Session::File::LyricFolders));
    };
    const QByteArray before = files();
    settings = session.settings();
    choosers.font = FontChoice{QFont("黑体"), Qt::red};
    choosers.colour = Qt::green;
    choosers.pictures = {"/p/b.jpg"};
    openOptions();
    control<QSpinBox>("TextPicShowPerTime")->setValue(9);
    for (const char *name : {"Check1", "OptTask", "LabelFont", "PicFont", "Command1", "CmdSLall"})
        click(name);
    control<QListWidget>("ListLyricDir")->setCurrentRow(0);
    click("Command4");
    addFolder(QDir::rootPath());
    click("CmdCancel");
    deleteClosed();
    ASSERT_EQ(menus.options(), nullptr);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(session.settings(), settings);
    EXPECT_EQ(readAssociationTicks(regist), (AssociationTicks{false, true, false, false}));
    EXPECT_EQ(openOptions() ? shown() : "", filled);
}

// The desktop lyric page opens on the look as it is then and edits only the look: "确定" hands it
// back over the record as it is at the press (the window locked or unlocked meanwhile), "取消"
// hands nothing back, a cancelled chooser keeps what was there.
TEST_F(DialogsTest, DesktopLyricPageHandsBackTheLookOnConfirmOnly)
{
    DesktopLyricStore &store = window.player().desktopLyrics();
    const auto look = [&store] {
        const DesktopLyricSettings &look = store.settings();
        return QStringLiteral("%1 %2%3 %4 %5 %6")
            .arg(look.fontFamily, QString::number(look.pointSize), look.bold ? " bold" : "",
                 QColor(look.normal).name(), QColor(look.highlight).name(),
                 QColor(look.outline).name());
    };
    const FontChoice heiti{QFont(QStringLiteral("黑体"), 24), Qt::red};
    const QString edited = "黑体 24 #ff0000 #ffee58 #00ff00";
    const struct Opening
    {
        QList<const char *> pressed;
        std::optional<FontChoice> font;
        std::optional<QColor> colour;
        const char *closedWith;
        QString look;
    } openings[] = {
        {{"CmdDeskLyricFont", "CmdDeskLyricOutline"}, heiti, Qt::green, "CmdOK", edited},
        {{"CmdDeskLyricHighlight", "CmdDeskLyricFont"}, heiti, Qt::blue, "CmdCancel", edited},
        {{"CmdDeskLyricFont", "CmdDeskLyricNormal"}, {}, {}, "CmdOK", edited},
        {{"CmdDeskLyricHighlight"}, {}, Qt::blue, "CmdOK", "黑体 24 #ff0000 #0000ff #00ff00"},
    };
    for (const Opening &opening : openings) {
        const DesktopLyricSettings &current = store.settings();
        const auto *sample = openOptions()->findChild<QLabel *>("LabelDeskLyric");
        EXPECT_EQ(sample->font().family(), current.fontFamily);
        EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(current.normal));
        EXPECT_TRUE(sample->text().contains(QColor(current.highlight).name()));
        choosers.font = opening.font;
        choosers.colour = opening.colour;
        for (const char *name : opening.pressed)
            click(name);
        DesktopLyricSettings locked = current;
        locked.locked = !locked.locked;
        store.setSettings(locked);
        click(opening.closedWith);
        deleteClosed();
        EXPECT_EQ(look(), opening.look);
        EXPECT_EQ(store.settings().locked, locked.locked);
    }
}

// The tray mode decides the icon and the taskbar entry, and without a notification area
// every mode is the taskbar alone; the icon tells the song and shows or hides the window.
TEST_F(DialogsTest, TrayModesAndTheIcon)
{
    bool hasArea = true;
    TrayIcon tray(window, session, menus, [&hasArea] { return hasArea; });
    load();
    // With a notification area or not, the mode, the icon shown, the window's type.
    const QList<std::tuple<bool, int, bool, Qt::WindowType>> cases{{true, 0, false, Qt::Window},
                                                                   {true, 1, true, Qt::Tool},
                                                                   {true, 2, true, Qt::Window},
                                                                   {false, 1, false, Qt::Window}};
    for (const auto &[area, mode, iconShown, type] : cases) {
        hasArea = area;
        SettingsRecord settings = session.settings();
        settings.shared.TrayMode = mode;
        session.setSettings(settings);
        EXPECT_EQ(tray.icon().isVisible(), iconShown) << mode << area;
        EXPECT_EQ(window.windowType(), type) << mode << area;
        EXPECT_TRUE(window.isVisible()) << "a changed type shows the window again";
    }
    EXPECT_EQ(tray.icon().toolTip(), window.player().labels().text(DisplayLabels::Label::LInfo));
    emit tray.icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window.isVisible());
    emit tray.icon().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
}

} // namespace
