#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include "menusfixture.h"
#include "ui/fullscreenpanel.h"
#include "ui/windowmover.h"

namespace {

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList texts(const QListWidget *list, bool tickedOnly = false)
{
    QStringList items;
    for (int row = 0; row < list->count(); ++row) {
        if (!tickedOnly || list->item(row)->checkState() == Qt::Checked)
            items << list->item(row)->text();
    }
    return items;
}

// Records the links the desktop was asked to open.
class LinkRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class OptionsDialogTest : public MenusTest
{
protected:
    QString path(Session::File file) const { return session.path(file); }
    // What the dialog shows, page by page.
    QString shown() const
    {
        const auto *snap = control<QSpinBox>("TextOffScrPix");
        QString tray = QStringLiteral("none");
        for (const char *name : {"OptTask", "OptSystem", "OptSyTsk"}) {
            if (control<QRadioButton>(name)->isChecked())
                tray = QLatin1String(name);
        }
        return QStringList{QStringLiteral("%1 %2 %3")
                               .arg(snap->value())
                               .arg(control<QCheckBox>("Check1")->isChecked() ? "on" : "off",
                                    snap->isEnabled() ? "open" : "shut"),
                           tray,
                           control<QCheckBox>("CheckFullScr")->isChecked() ? "full" : "normal",
                           QString::number(control<QSpinBox>("TextPicShowPerTime")->value()),
                           texts(control<QListWidget>("ListPicFile")).join(u','),
                           texts(control<QListWidget>("ListLyricDir")).join(u','),
                           texts(control<QListWidget>("List1"), true).join(u',')}
            .join(QStringLiteral(" | "));
    }
    void click(const char *name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    // A folder chosen in the folder chooser, opened and confirmed.
    void addFolder(const QString &folder)
    {
        click("CmdAddDir");
        FmShowDir *chooser = menus.options()->folderChooser();
        ASSERT_TRUE(chooser->setOpenFolder(folder));
        QTest::mouseClick(chooser->findChild<QPushButton *>("CmdOK"), Qt::LeftButton);
    }
    QString picture(const char *name) const { return dir.filePath(QLatin1String(name)); }
};

// The text a control shows.
QString caption(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    return widget->windowTitle();
}

TEST_F(OptionsDialogTest, EveryCaptionOfTheThreeWindows)
{
    FmTmp *options = openOptions();
    click("CmdAddDir");
    item("mnuAbout")->trigger();
    const struct
    {
        QWidget *window;
        const char *name;
        QString caption;
    } cases[] = {
        {options, "FmTmp", "参数设置"},
        {options, "Frame5", "全屏字体"},
        {options, "LabelFont", "岚铃"},
        {options, "Frame4", "显示选项"},
        {options, "CheckFullScr", "启动时全屏显示"},
        {options, "Check1", "离窗口边缘有"},
        {options, "Label3", "像素时自动与之对齐"},
        {options, "Frame3", "显示位置"},
        {options, "OptTask", "只在任务栏"},
        {options, "OptSystem", "只在系统栏"},
        {options, "OptSyTsk", "任务栏和系统栏"},
        {options, "FrmSet(1)", "搜索歌词的文件夹 "},
        {options, "CmdAddDir", "添加文件夹"},
        {options, "Command4", "移除文件夹"},
        {options, "Label2", "◎ 音乐文件播放时会搜索歌词文件夹，找到并使用相应的歌词文件。"},
        {options, "Label4", "默认为\"歌曲文件所在目录\"。"},
        {options, "FrmSet(2)", "图片选项"},
        {options, "Command1", "添加文件"},
        {options, "CmdRemovePic", "移除文件"},
        {options, "Label5", "图片切换间隔："},
        {options, "Label6", "秒/张"},
        {options, "Label1", "◎ 图片文件是在全屏幕状态下显示所需要的图片。"},
        {options, "Frame1", "关联文件类型"},
        {options, "CmdSLall", "全选"},
        {options, "CmdSLnone", "不选"},
        {options, "CmdOK", "确定"},
        {options, "CmdCancel", "取消"},
        {options->folderChooser(), "FmShowDir", "选择目录"},
        {options->folderChooser(), "CmdOK", "确定"},
        {options->folderChooser(), "CmdCancel", "取消"},
        {menus.about(), "fmAbout", "关于岚铃播放器"},
        {menus.about(), "lblTitle", "岚铃播放器1.0 （ZorvanPlayer）"},
        {menus.about(), "Label7", "作者：岚铃小组"},
        {menus.about(), "Label2", "QQ：无"},
        {menus.about(), "Label6", "Email："},
        {menus.about(), "Label5", "网站："},
        {menus.about(), "cmdOK", "确定"},
    };
    for (const auto &c : cases) {
        QWidget *widget = c.window->objectName() == QLatin1String(c.name)
                              ? c.window
                              : c.window->findChild<QWidget *>(QLatin1String(c.name));
        ASSERT_TRUE(widget) << c.name;
        EXPECT_EQ(caption(widget), c.caption) << c.name;
    }
    const QTabWidget *tabs = control<QTabWidget>("TabStrip1");
    QStringList tabTexts;
    for (int tab = 0; tab < tabs->count(); ++tab)
        tabTexts << tabs->tabText(tab);
    EXPECT_EQ(tabTexts, (QStringList{"显示 ", "歌词目录 ", "图片文件", "文件关联"}));
    EXPECT_EQ(texts(control<QListWidget>("List1")), (QStringList{"m3u", "mp3", "wma", "wav"}));
}

// Filled from the settings, the two list files (the pictures' relative lines resolved) and
// the registry; out-of-range numbers show as the nearest that works.
TEST_F(OptionsDialogTest, FillsFromTheSettingsTheListFilesAndTheRegistry)
{
    EXPECT_EQ(openOptions() ? shown() : "", "12 on open | OptTask | normal | 5 |  |  | ");
    menus.options()->close();

    SettingsRecord settings;
    settings.shared = {0, 1, 5, 1, 1, 500};
    session.setSettings(settings);
    write(path(Session::File::Pictures), "one.jpg\r\n/p/two.bmp\r\n[END]\r\nlate.jpg\r\n");
    write(path(Session::File::LyricFolders), "/lrc/\r\n\r\n[END]\r\n");
    regist.CreateRegKey("HKEY_CLASSES_ROOT\\.mp3");
    regist.WriteRegValue("HKEY_CLASSES_ROOT\\.mp3", "", "zorvanplayer.file");
    openOptions();
    EXPECT_EQ(shown(), "0 off shut | OptSystem | full | 65 | " + picture("one.jpg") +
                           ",/p/two.bmp | /lrc/, | mp3");
}

// "确定": the settings at once (the snapping distance only from the next start), the lists
// written and read back, the file types, the settings file; then the dialog closes.
TEST_F(OptionsDialogTest, ConfirmAppliesAndWritesEverything)
{
    load();
    QDir(dir.path()).mkdir(QStringLiteral("lrc"));
    QImage(4, 4, QImage::Format_RGB32).save(picture("a.png"));
    write(picture("b.jpg"), "not a picture");
    openOptions();
    control<QSpinBox>("TextPicShowPerTime")->setValue(8);
    control<QSpinBox>("TextOffScrPix")->setValue(30);
    click("OptSyTsk");
    click("CheckFullScr");
    QFont font(QStringLiteral("黑体"), 20);
    font.setStrikeOut(true);
    choosers.font = FontChoice{font, Qt::red};
    click("LabelFont");
    EXPECT_EQ(choosers.fontPreset.font.family(), "宋体") << "preset with the sample";
    choosers.colour = Qt::green;
    QWidget *panel = control<QWidget>("PicFont");
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->rect().bottomRight() - QPoint(2, 2));
    choosers.pictures = {picture("a.png"), picture("b.jpg")};
    click("Command1");
    auto *pictures = control<QListWidget>("ListPicFile");
    auto *preview = control<QLabel>("ImgView");
    for (int row : {0, 1})
        QTest::mouseClick(pictures->viewport(), Qt::LeftButton, {},
                          pictures->visualItemRect(pictures->item(row)).center());
    EXPECT_EQ(choosers.reports, QStringList{"图片文件错误！"}) << "b.jpg does not load";
    EXPECT_FALSE(preview->pixmap().isNull()) << "a.png stays in the preview";
    click("CmdRemovePic");
    addFolder(dir.filePath(QStringLiteral("lrc")));
    control<QListWidget>("List1")->item(1)->setCheckState(Qt::Checked);
    QSignalSpy settingsChanged(&session, &Session::settingsChanged);
    click("CmdOK");

    EXPECT_EQ(settingsChanged.count(), 1);
    const SettingsRecord &settings = session.settings();
    EXPECT_EQ(settings.shared, (SharedSettings{30, 2, 5, 1, 1, 8}));
    EXPECT_EQ(window.mover().snapTwips(), 12 * 15) << "the new distance waits for a start";
    const QLabel *lyric = window.PicBg().LTxtMax();
    EXPECT_EQ(lyric->font().family(), "黑体");
    EXPECT_TRUE(lyric->font().strikeOut());
    EXPECT_EQ(lyric->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(settings.picBottomColour, 0x00FF00);
    SettingsRecord written;
    EXPECT_EQ(LoadSettings(path(Session::File::Settings), written), SettingsLoad::Applied);
    EXPECT_EQ(written.shared, settings.shared);
    EXPECT_EQ(written.lyricFont.name, "黑体");
    EXPECT_EQ(bytes(path(Session::File::Pictures)), picture("a.png").toUtf8() + "\r\n[END]\r\n");
    EXPECT_EQ(session.ListPic(), QStringList{picture("a.png")});
    EXPECT_EQ(session.shownPicture(), 0);
    EXPECT_EQ(session.ListLyricDir(), QStringList{dir.filePath("lrc/")});
    EXPECT_EQ(readAssociationTicks(regist), (AssociationTicks{false, true, false, false}));
    deleteClosed();
    EXPECT_EQ(menus.options(), nullptr);
}

// "取消", the close box and Esc after edits of every kind: no file, no setting, no registry
// value changes, and the next opening shows what was there before.
TEST_F(OptionsDialogTest, CancelCloseAndEscapeChangeNothing)
{
    load();
    write(path(Session::File::Pictures), "/p/a.jpg\r\n[END]\r\n");
    write(path(Session::File::LyricFolders), "/lrc/\r\n[END]\r\n");
    const Session::File files[] = {Session::File::Settings, Session::File::Playlist,
                                   Session::File::Pictures, Session::File::LyricFolders};
    QList<QByteArray> before;
    for (const Session::File file : files)
        before << bytes(path(file));
    const SettingsRecord settings = session.settings();
    const QString shownBefore = openOptions() ? shown() : QString();
    choosers = {};
    choosers.font = FontChoice{QFont("黑体"), Qt::red};
    choosers.colour = Qt::green;
    choosers.pictures = {"/p/b.jpg"};
    const std::function<void(FmTmp *)> closings[] = {
        [this](FmTmp *) { click("CmdCancel"); },
        [](FmTmp *options) { options->close(); },
        [](FmTmp *options) { QTest::keyClick(options, Qt::Key_Escape); },
    };
    for (const auto &closing : closings) {
        openOptions();
        control<QSpinBox>("TextPicShowPerTime")->setValue(9);
        click("Check1");
        click("OptSystem");
        click("LabelFont");
        click("PicFont");
        click("Command1");
        control<QListWidget>("ListLyricDir")->setCurrentRow(0);
        click("Command4");
        addFolder(QDir::rootPath());
        click("CmdSLall");
        closing(menus.options());
        deleteClosed();
        ASSERT_EQ(menus.options(), nullptr);
        for (int file = 0; file < 4; ++file)
            EXPECT_EQ(bytes(path(files[file])), before.at(file)) << file;
        EXPECT_EQ(session.settings(), settings);
        EXPECT_EQ(readAssociationTicks(regist), AssociationTicks{});
        EXPECT_EQ(openOptions() ? shown() : QString(), shownBefore);
        menus.options()->close();
    }
}

// A file that cannot be written (here a folder in its place) is reported; the dialog keeps
// the edits for the next "确定", which writes everything once the way is free.
TEST_F(OptionsDialogTest, AFileThatCannotBeWrittenKeepsTheDialogOpen)
{
    load();
    const QString pictures = path(Session::File::Pictures);
    QDir().mkpath(pictures + QStringLiteral("/in the way"));
    const QByteArray settingsBefore = bytes(path(Session::File::Settings));
    openOptions();
    control<QSpinBox>("TextPicShowPerTime")->setValue(7);
    control<QListWidget>("List1")->item(0)->setCheckState(Qt::Checked);
    click("CmdOK");
    deleteClosed();
    ASSERT_NE(menus.options(), nullptr);
    EXPECT_EQ(choosers.reports, QStringList{pictures});
    EXPECT_EQ(session.settings().shared.PicShowSeconds, 7) << "applied before the failure";
    EXPECT_EQ(bytes(path(Session::File::Settings)), settingsBefore);
    EXPECT_EQ(readAssociationTicks(regist), AssociationTicks{}) << "not reached";

    QDir(pictures).removeRecursively();
    click("CmdOK");
    deleteClosed();
    EXPECT_EQ(menus.options(), nullptr);
    EXPECT_EQ(bytes(pictures), "[END]\r\n");
    EXPECT_EQ(readAssociationTicks(regist), (AssociationTicks{true, false, false, false}));
}

// Unticking Check1 turns snapping off (distance 0, box shut); ticking it brings the
// distance back; a 0 typed into the box unticks it.
TEST_F(OptionsDialogTest, Check1TurnsSnappingOffAndOn)
{
    openOptions();
    auto *snap = control<QSpinBox>("TextOffScrPix");
    const std::function<void()> steps[] = {
        [&] { snap->setValue(40); },
        [&] { click("Check1"); },
        [&] { click("Check1"); },
        [&] {
            snap->setValue(0);
            emit snap->editingFinished();
        },
        [&] { click("Check1"); },
    };
    const char *const expected[] = {"40 on open", "0 off shut", "40 on open", "0 off shut",
                                    "40 on open"};
    for (int step = 0; step < 5; ++step) {
        steps[step]();
        EXPECT_EQ(shown().section(QStringLiteral(" | "), 0, 0), expected[step]) << step;
    }
}

// The folder chooser hands over the open folder with a trailing "/", the root as it is, never
// a folder only highlighted; it lists the ancestors, the folder and its subfolders, and keeps
// its folder when one cannot be read.
TEST_F(OptionsDialogTest, FolderChooserAddsTheOpenFolder)
{
    QDir(dir.path()).mkpath(QStringLiteral("music/lrc"));
    QDir(dir.path()).mkpath(QStringLiteral("music/pop"));
    const QString music = dir.filePath(QStringLiteral("music"));
    openOptions();
    const struct
    {
        QString open;
        const char *highlight;
        QString added;
    } cases[] = {
        {music, "lrc", music + "/"},
        {QDir::rootPath(), nullptr, QDir::rootPath()},
        {music + "/lrc", nullptr, music + "/lrc/"},
    };
    for (const auto &c : cases) {
        click("CmdAddDir");
        FmShowDir *chooser = menus.options()->folderChooser();
        ASSERT_TRUE(chooser->setOpenFolder(c.open));
        auto *folders = chooser->findChild<QTreeWidget *>("Dir1");
        if (c.highlight) {
            const QTreeWidgetItem *subfolder =
                folders->findItems(c.highlight, Qt::MatchRecursive).value(0);
            ASSERT_TRUE(subfolder);
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                              folders->visualItemRect(subfolder).center());
        }
        QTest::mouseClick(chooser->findChild<QPushButton *>("CmdOK"), Qt::LeftButton);
        EXPECT_EQ(texts(control<QListWidget>("ListLyricDir"))
                      .value(-1 + control<QListWidget>("ListLyricDir")->count()),
                  c.added);
    }
    click("CmdAddDir");
    FmShowDir *chooser = menus.options()->folderChooser();
    ASSERT_TRUE(chooser->setOpenFolder(music));
    auto *folders = chooser->findChild<QTreeWidget *>("Dir1");
    QStringList listed;
    for (QTreeWidgetItemIterator it(folders); *it; ++it)
        listed << (*it)->text(0);
    EXPECT_EQ(listed.mid(listed.size() - 3), (QStringList{"music", "lrc", "pop"}));
    EXPECT_EQ(listed.first(), "/");
    EXPECT_FALSE(chooser->setOpenFolder(music + "/none"));
    const QPoint pop =
        folders->visualItemRect(folders->findItems("pop", Qt::MatchRecursive).value(0)).center();
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, pop);
    EXPECT_EQ(chooser->openFolder(), music) << "a click only highlights";
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, pop);
    EXPECT_EQ(chooser->openFolder(), music + "/pop") << "a double click opens";
    QTest::mouseClick(chooser->findChild<QPushButton *>("CmdCancel"), Qt::LeftButton);
    EXPECT_EQ(control<QListWidget>("ListLyricDir")->count(), 3) << "取消 adds nothing";
}

TEST_F(OptionsDialogTest, AboutBoxLinksOpenThroughTheDesktop)
{
    LinkRecorder recorder;
    for (const char *scheme : {"https", "mailto"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &recorder, "open");
    item("mnuAbout")->trigger();
    const QPointer<fmAbout> about = menus.about();
    for (const char *link : {"Label1", "Label4"}) {
        QLabel *label = about->findChild<QLabel *>(QLatin1String(link));
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2));
    }
    for (const char *scheme : {"https", "mailto"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    EXPECT_EQ(recorder.opened, (QList<QUrl>{fmAbout::WebPage, fmAbout::MailAddress}));
    QTest::keyClick(about, Qt::Key_Escape);
    deleteClosed();
    EXPECT_FALSE(about);
}

} // namespace

#include "test_optionsdialogs.moc"
