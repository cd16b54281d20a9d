#include "dialogs/qtoptionschoosers.h"

#include <QBoxLayout>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QPointer>
#include <QPushButton>

#include "dialogs/colourswatch.h"

namespace {

const QString PictureFilters = QStringLiteral(
    "所有支持的文件 (*.jpg *.bmp *.gif);;JPG文件 (*.jpg);;BMP文件 (*.bmp);;GIF文件 (*.gif)");

// The font chosen in the font dialog: the preset with what the user changed from `shown`,
// the font the dialog opened on. The dialog knows only installed faces and whole sizes, so
// the face, style, size and effects each stay the preset's unless changed there.
QFont withChanges(const QFont &preset, const QFont &shown, const QFont &chosen)
{
    QFont font = preset;
    if (chosen.family() != shown.family())
        font.setFamily(chosen.family());
    if (chosen.weight() != shown.weight())
        font.setWeight(chosen.weight());
    if (chosen.italic() != shown.italic())
        font.setItalic(chosen.italic());
    if (chosen.pointSizeF() != shown.pointSizeF() && chosen.pointSizeF() > 0)
        font.setPointSizeF(chosen.pointSizeF());
    if (chosen.underline() != shown.underline())
        font.setUnderline(chosen.underline());
    if (chosen.strikeOut() != shown.strikeOut())
        font.setStrikeOut(chosen.strikeOut());
    return font;
}

} // namespace

std::optional<FontChoice> QtOptionsChoosers::chooseFont(const FontChoice &preset, QWidget *parent)
{
    // On the heap, as every dialog here: the shutdown may close the options dialog, and with
    // it this one, while it is shown.
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("字体"));
    // It opens on the face and style the sample is drawn with: a face it does not list (宋体
    // where the desktop draws it with another font) would leave it on its first face, and a
    // style without a name on the face's first style, since it looks styles up by the name
    // Qt gives them in the user's language ("粗体"), not the face's own ("Bold").
    const QFontInfo drawn(preset.font);
    QFont face = preset.font;
    face.setFamily(drawn.family());
    face.setStyleName(drawn.styleName());
    auto *fonts = new QFontDialog(dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setCurrentFont(face);
    const QFont shown = fonts->currentFont();
    // Enter and Esc in the font dialog's lists end the whole dialog, not only the part.
    QObject::connect(fonts, &QDialog::accepted, dialog, &QDialog::accept);
    QObject::connect(fonts, &QDialog::rejected, dialog, &QDialog::reject);
    QColor colour = preset.colour;
    auto *colourButton =
        new QPushButton(colourSwatch(colour), QStringLiteral("颜色(&C)..."), dialog);
    QObject::connect(colourButton, &QPushButton::clicked, dialog, [this, &colour, colourButton] {
        QPointer<QPushButton> button = colourButton;
        const std::optional<QColor> chosen = chooseColour(colour, colourButton->window());
        if (chosen && button) {
            colour = *chosen;
            button->setIcon(colourSwatch(colour));
        }
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(colourButton);
    row->addStretch();
    row->addWidget(buttons);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(fonts);
    layout->addLayout(row);
    const bool accepted = dialog->exec() == QDialog::Accepted && dialog;
    std::optional<FontChoice> choice;
    if (accepted)
        choice = FontChoice{withChanges(preset.font, shown, fonts->currentFont()), colour};
    delete dialog;
    return choice;
}

std::optional<QColor> QtOptionsChoosers::chooseColour(const QColor &preset, QWidget *parent)
{
    QPointer<QColorDialog> dialog = new QColorDialog(preset, parent);
    std::optional<QColor> chosen;
    if (dialog->exec() == QDialog::Accepted && dialog)
        chosen = dialog->selectedColor();
    delete dialog;
    return chosen;
}

QStringList QtOptionsChoosers::choosePictures(QWidget *parent)
{
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), PictureFilters);
}
