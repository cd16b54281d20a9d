#pragma once

#include "dialogs/optionschoosers.h"

// The options dialog's choosers as Qt dialogs and its messages as warning boxes, all modal
// to the options dialog.
class QtOptionsChoosers : public OptionsChoosers
{
public:
    // A font dialog with a colour button beside it, since Qt's font dialog has no colour.
    std::optional<FontChoice> chooseFont(const FontChoice &preset, QWidget *parent) override;
    std::optional<QColor> chooseColour(const QColor &preset, QWidget *parent) override;
    QStringList choosePictures(QWidget *parent) override;
};
