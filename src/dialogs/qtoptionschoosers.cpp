#include "dialogs/qtoptionschoosers.h"

#include <QBoxLayout>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace {

const QString PictureFilters = QStringLiteral(
    "所有支持的文件 (*.jpg *.bmp *.gif);;JPG文件 (*.jpg);;BMP文件 (*.bmp);;GIF文件 (*.gif)");

QIcon swatch(const QColor &colour)
{
    QPixmap picture(16, 16);
    picture.fill(colour);
    return QIcon(picture);
}

} // namespace

std::optional<FontChoice> QtOptionsChoosers::chooseFont(const FontChoice &preset, QWidget *parent)
{
    // On the heap, as every dialog here: the shutdown may close the options dialog, and with
    // it this one, while it is shown.
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("字体"));
    auto *fonts = new QFontDialog(preset.font, dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    // The dialog shows a face it does not know (宋体 without that font) as another one: a
    // font left as it was shown is the preset, not what the dialog took it for.
    const QFont shown = fonts->currentFont();
    // Enter and Esc in the font dialog's lists end the whole dialog, not only the part.
    QObject::connect(fonts, &QDialog::accepted, dialog, &QDialog::accept);
    QObject::connect(fonts, &QDialog::rejected, dialog, &QDialog::reject);
    QColor colour = preset.colour;
    auto *colourButton = new QPushButton(swatch(colour), QStringLiteral("颜色(&C)..."), dialog);
    QObject::connect(colourButton, &QPushButton::clicked, dialog, [this, &colour, colourButton] {
        QPointer<QPushButton> button = colourButton;
        const std::optional<QColor> chosen = chooseColour(colour, colourButton->window());
        if (chosen && button) {
            colour = *chosen;
            button->setIcon(swatch(colour));
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
        choice =
            FontChoice{fonts->currentFont() == shown ? preset.font : fonts->currentFont(), colour};
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
