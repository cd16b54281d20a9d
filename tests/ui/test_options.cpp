#include <optional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QTranslator>

#include "dialogs/qtoptionschoosers.h"
#include "fmmainfixture.h"

namespace {

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

// The sample panel, which fills its background, starts below its frame's caption.
TEST_F(FmMainTest, TheSamplePanelLeavesItsFramesCaptionWhole)
{
    openOptions();
    const auto *frame = control<QGroupBox>("Frame5");
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, frame);
    EXPECT_GT(control("PicFont")->y(), caption.bottom());
    EXPECT_GT(caption.height(), 0);
}

} // namespace
