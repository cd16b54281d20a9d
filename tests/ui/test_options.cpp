#include <optional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
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
#include "ui/playermenus.h"

namespace {

// The options dialog over the player's window.
class OptionsTest : public FmMainTest
{
protected:
    QWidget *control(const char *name) const
    {
        return menus.options()->findChild<QWidget *>(QLatin1String(name));
    }
    void openOptions() { menus.popmnu()->findChild<QAction *>("mnuOptionSet")->trigger(); }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
};

struct FontEdit
{
    const char *what;
    // What the user changes in the font the dialog opened on: another face, another size.
    QString face;
    int size;
    QString chosen;
};

// The font chooser opens on the face and style the sample is drawn with, though the stored
// face (宋体) is not one the desktop has by that name and Qt speaks Chinese as in the program;
// what the user leaves alone stays as stored, whatever the dialog made of it.
TEST(FontChooser, OpensOnTheSampleAndKeepsWhatWasNotChanged)
{
    QTranslator chinese;
    ASSERT_TRUE(chinese.load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&chinese);
    QFont stored("宋体");
    stored.setPointSizeF(26.25);
    stored.setBold(true);
    const FontEdit edits[] = {{"nothing", {}, 0, "宋体 bold 26.25"},
                              {"the size", {}, 30, "宋体 bold 30"},
                              {"the face", "Liberation Sans", 0, "Liberation Sans bold 26.25"}};
    const auto described = [](const QFont &font) {
        return QStringLiteral("%1 %2 %3")
            .arg(font.family(), font.bold() ? "bold" : "plain", QString::number(font.pointSizeF()));
    };
    for (const FontEdit &edit : edits) {
        QString opened;
        // The chooser's font part once it shows: the edit, then "确定".
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            auto *fonts = dialog ? dialog->findChild<QFontDialog *>() : nullptr;
            if (!fonts && dialog)
                dialog->close();
            ASSERT_NE(fonts, nullptr);
            QFont font = fonts->currentFont();
            opened = described(font);
            font.setFamily(edit.face.isEmpty() ? font.family() : edit.face);
            font.setPointSize(edit.size ? edit.size : font.pointSize());
            fonts->setCurrentFont(font);
            dialog->findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly)
                ->button(QDialogButtonBox::Ok)
                ->click();
        });
        const std::optional<FontChoice> chosen =
            QtOptionsChoosers().chooseFont({stored, Qt::red}, nullptr);
        EXPECT_EQ(opened, QFontInfo(stored).family() + " bold 26") << edit.what;
        EXPECT_EQ(chosen ? described(chosen->font) : "cancelled", edit.chosen) << edit.what;
    }
    QCoreApplication::removeTranslator(&chinese);
}

// A "确定" whose settings file cannot be written tells so and applies none of the settings,
// also after a following "取消". One that writes it writes the window's place and the volume
// as they are then, not as at the start: a player that ends without its shutdown comes back
// as it was.
TEST_F(OptionsTest, ConfirmAppliesOnlyWhatItWroteAndWritesTheStateOfTheMoment)
{
    load();
    const QString path = session.path(Session::File::Settings);
    const SettingsRecord before = session.settings();
    const QFont lyricFont = window.PicBg().LTxtMax()->font();
    window.move(window.pos() + QPoint(150, 90));
    window.player().run(Command::VolumeDown);
    openOptions();
    static_cast<QSpinBox *>(control("TextPicShowPerTime"))->setValue(7);
    choosers.font = FontChoice{QFont("黑体", 20), Qt::red};
    click("LabelFont");
    QFile::remove(path);
    QDir().mkdir(path);
    click("CmdOK");
    click("CmdCancel");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(session.settings(), before);
    EXPECT_EQ(window.PicBg().LTxtMax()->font(), lyricFont);
    EXPECT_TRUE(messages.shown.value(0).startsWith(writeFailureText(path, "")));

    QDir().rmdir(path);
    openOptions(), click("CmdOK");
    SettingsRecord written;
    LoadSettings(path, written);
    EXPECT_TRUE(written.volume == media.volume() && media.volume() != before.volume);
    EXPECT_EQ(QPointF(written.windowLeftTwips, written.windowTopTwips),
              window.placeToKeep().value_or(QPointF(-1, -1)));
}

// The sample panel, which fills its background, starts below its frame's caption.
TEST_F(OptionsTest, TheSamplePanelLeavesItsFramesCaptionWhole)
{
    openOptions();
    const auto *frame = static_cast<QGroupBox *>(control("Frame5"));
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
    EXPECT_GT(control("PicFont")->y(), caption.bottom());
    EXPECT_GT(caption.height(), 0);
}

// The open dialog offers every type the player plays, together and each alone, then any file.
TEST(OpenDialog, OffersEveryTypeThePlayerPlaysAndAnyFile)
{
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(files, nullptr);
        filters = files->nameFilters();
        files->reject();
    });
    QtPlaylistFileDialogs().chooseSongFiles();
    EXPECT_EQ(filters, (QStringList{"所有支持的文件 (*.m3u *.mp3 *.wma *.wav)", "M3U文件 (*.m3u)",
                                    "MP3文件 (*.mp3)", "WMA文件 (*.wma)", "WAV文件 (*.wav)",
                                    "所有文件 (*)"}));
}

} // namespace
