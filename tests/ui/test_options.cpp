#include <algorithm>
#include <functional>
#include <utility>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QTranslator>

#include "core/command.h"
#include "dialogs/qtoptionschoosers.h"
#include "dialogs/qtplaylistfiledialogs.h"
#include "fmmainfixture.h"
#include "ui/fullscreenpanel.h"
#include "ui/messagebox.h"
#include "ui/playermenus.h"

namespace {

// The options dialog over the player's window.
class OptionsTest : public FmMainTest
{
protected:
    void TearDown() override { EXPECT_EQ(messages.shown, QStringList()); }

    void openOptions()
    {
        menus.popmnu()->findChild<QAction *>(QStringLiteral("mnuOptionSet"))->trigger();
        ASSERT_NE(menus.options(), nullptr);
    }
    template <typename T = QWidget> T *control(const char *name) const
    {
        return menus.options()->findChild<T *>(QLatin1String(name));
    }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    static void deleteClosed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SettingsRecord settingsFile() const
    {
        SettingsRecord written;
        EXPECT_EQ(LoadSettings(session.path(Session::File::Settings), written).value,
                  SettingsLoad::Applied);
        return written;
    }
};

// Runs `act` on the next modal dialog (or the `Part` of that type in it) once it shows;
// a dialog that `act` leaves open is cancelled.
template <typename Part> void onNextDialog(std::function<void(QDialog &, Part &)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no dialog shows";
        auto *part = qobject_cast<Part *>(dialog);
        if (!part)
            part = dialog->findChild<Part *>();
        if (part)
            act(*dialog, *part);
        else
            ADD_FAILURE() << "the dialog has no " << Part::staticMetaObject.className();
        if (dialog->isVisible())
            dialog->reject();
    });
}

// A style of `family` neither bold nor italic, as the font dialog lists it.
QString plainStyleOf(const QString &family)
{
    for (const QString &style : QFontDatabase::styles(family)) {
        if (!QFontDatabase::bold(family, style) && !QFontDatabase::italic(family, style))
            return style;
    }
    ADD_FAILURE() << family.toStdString() << " has no plain style";
    return {};
}

struct FontEdit
{
    const char *what;
    // What the user changes in the font the dialog opened on.
    std::function<void(QFont &)> change;
    QString family;
    bool bold;
    qreal pointSize;
    bool underline;
};

// The font chooser opens on the face, style and size the sample is drawn with, though the
// stored face (宋体) is not one the desktop has by that name, and Qt speaks Chinese as in the
// program; what the user leaves alone stays as stored, whatever the dialog made of it.
TEST(FontChooser, OpensOnTheSampleAndKeepsWhatWasNotChanged)
{
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral("qtbase_zh_CN"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&chinese);
    QFont stored(QStringLiteral("宋体"));
    stored.setPointSizeF(26.25);
    stored.setBold(true);
    const QString otherFace = QStringLiteral("Liberation Sans");
    ASSERT_NE(QFontInfo(stored).family(), otherFace);
    const FontEdit edits[] = {
        {"nothing", [](QFont &) {}, "宋体", true, 26.25, false},
        {"the size", [](QFont &font) { font.setPointSize(30); }, "宋体", true, 30, false},
        {"the face", [&](QFont &font) { font.setFamily(otherFace); }, otherFace, true, 26.25,
         false},
        {"the style", [](QFont &font) { font.setStyleName(plainStyleOf(font.family())); }, "宋体",
         false, 26.25, false},
        {"underline", [](QFont &font) { font.setUnderline(true); }, "宋体", true, 26.25, true},
    };
    for (const FontEdit &edit : edits) {
        SCOPED_TRACE(edit.what);
        QFont opened;
        onNextDialog<QFontDialog>([&](QDialog &dialog, QFontDialog &fonts) {
            opened = fonts.currentFont();
            QFont changed = opened;
            edit.change(changed);
            fonts.setCurrentFont(changed);
            dialog.findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly)
                ->button(QDialogButtonBox::Ok)
                ->click();
        });
        QtOptionsChoosers choosers;
        const std::optional<FontChoice> chosen = choosers.chooseFont({stored, Qt::red}, nullptr);
        EXPECT_EQ(opened.family(), QFontInfo(stored).family());
        EXPECT_TRUE(opened.bold());
        ASSERT_TRUE(chosen);
        const QFont &font = chosen->font;
        EXPECT_EQ(font.family(), edit.family);
        EXPECT_EQ(font.bold(), edit.bold);
        EXPECT_EQ(font.pointSizeF(), edit.pointSize);
        EXPECT_EQ(font.underline(), edit.underline);
        EXPECT_EQ(chosen->colour, QColor(Qt::red));
    }
    QCoreApplication::removeTranslator(&chinese);
}

// "确定" writes the window's place and the volume as they are then, not as they were at the
// start: a player that ends without its shutdown comes back where it was.
TEST_F(OptionsTest, ConfirmWritesThePlaceAndVolumeOfTheMoment)
{
    load();
    window.move(window.pos() + QPoint(150, 90));
    window.player().run(Command::VolumeDown);
    window.player().run(Command::VolumeDown);
    ASSERT_NE(media.volume(), SettingsRecord().volume);
    openOptions();
    click("CmdOK");
    const SettingsRecord written = settingsFile();
    EXPECT_EQ(written.volume, media.volume());
    ASSERT_TRUE(window.placeToKeep());
    EXPECT_EQ(QPointF(written.windowLeftTwips, written.windowTopTwips), *window.placeToKeep());
}

struct BlockedFile
{
    const char *what;
    Session::File file;
    int pictureSeconds;
};

// A "确定" whose write fails applies no setting that was not written: the player goes on as
// before, also after a following "取消", and the user is told. Once the file can be written,
// the same edits apply.
TEST_F(OptionsTest, AFailedWriteAppliesNoSetting)
{
    load();
    const BlockedFile blocked[] = {{"the settings file", Session::File::Settings, 7},
                                   {"the picture list", Session::File::Pictures, 8}};
    for (const BlockedFile &block : blocked) {
        SCOPED_TRACE(block.what);
        const QString path = session.path(block.file);
        const SettingsRecord before = session.settings();
        const QByteArray fileBefore = readFile(session.path(Session::File::Settings));
        const QFont lyricFont = window.PicBg().LTxtMax()->font();
        openOptions();
        control<QSpinBox>("TextPicShowPerTime")->setValue(block.pictureSeconds);
        choosers.font = FontChoice{QFont(QStringLiteral("黑体"), 20), Qt::red};
        click("LabelFont");
        QFile::rename(path, path + ".aside");
        ASSERT_TRUE(QDir().mkdir(path)) << "a folder in the file's place";
        click("CmdOK");
        const QStringList told = std::exchange(messages.shown, {});
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].startsWith(writeFailureText(path, "")));
        click("CmdCancel");
        deleteClosed();
        EXPECT_EQ(session.settings(), before);
        EXPECT_EQ(window.PicBg().LTxtMax()->font(), lyricFont);
        ASSERT_TRUE(QDir().rmdir(path));
        QFile::rename(path + ".aside", path);
        EXPECT_EQ(readFile(session.path(Session::File::Settings)), fileBefore);

        openOptions();
        control<QSpinBox>("TextPicShowPerTime")->setValue(block.pictureSeconds);
        click("CmdOK");
        EXPECT_EQ(session.settings().shared.PicShowSeconds, block.pictureSeconds);
        EXPECT_EQ(settingsFile().shared.PicShowSeconds, block.pictureSeconds);
        deleteClosed();
    }
}

// The open dialog of the playlist offers every type the player plays, all at once first
// and each on its own, and any file last.
TEST_F(OptionsTest, TheOpenDialogOffersEveryTypeThePlayerPlays)
{
    QtPlaylistFileDialogs dialogs;
    dialogs.setParent(&window);
    QStringList filters;
    onNextDialog<QFileDialog>(
        [&](QDialog &, QFileDialog &files) { filters = files.nameFilters(); });
    EXPECT_EQ(dialogs.chooseSongFiles(), QStringList());
    ASSERT_GE(filters.size(), 3);
    const auto patterns = [](const QString &filter) {
        return filter.section(u'(', 1).chopped(1).split(u' ');
    };
    for (const QString type : {"*.m3u", "*.mp3", "*.wma", "*.wav"}) {
        EXPECT_TRUE(patterns(filters.first()).contains(type)) << type.toStdString();
        const QStringList alone(type);
        EXPECT_EQ(std::count_if(filters.cbegin(), filters.cend(),
                                [&](const QString &filter) { return patterns(filter) == alone; }),
                  1)
            << type.toStdString();
    }
    EXPECT_EQ(filters.last(), "所有文件 (*)");
}

// The player's message boxes carry the player's name as their caption.
TEST_F(OptionsTest, MessageBoxesAreCaptionedWithThePlayersName)
{
    load();
    MessageBoxes boxes;
    boxes.setMainWindow(&window);
    boxes.tell(UserMessages::Tone::Warning, QStringLiteral("写入失败"));
    auto *box = window.findChild<QMessageBox *>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "岚铃播放器");
    box->close();
}

// The sample panel, which fills its background, leaves the caption of its frame whole.
TEST_F(OptionsTest, TheSamplePanelLeavesItsFramesCaptionWhole)
{
    load();
    openOptions();
    const auto *frame = control<QGroupBox>("Frame5");
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.textAlignment = frame->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
    EXPECT_TRUE(frame->rect().contains(caption));
    EXPECT_GT(control("PicFont")->y(), caption.bottom()) << "the panel starts below it";
    menus.options()->close();
}

} // namespace
