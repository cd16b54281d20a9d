#pragma once

#include <QStringList>

#include "dialogs/optionschoosers.h"

// Answers the options dialog's choosers as the test sets them (nothing: cancelled) and
// records the font preset.
class ScriptedOptionsChoosers : public OptionsChoosers
{
public:
    std::optional<FontChoice> chooseFont(const FontChoice &preset, QWidget *) override
    {
        fontPreset = preset;
        return font;
    }
    std::optional<QColor> chooseColour(const QColor &, QWidget *) override { return colour; }
    QStringList choosePictures(QWidget *) override { return pictures; }

    std::optional<FontChoice> font;
    std::optional<QColor> colour;
    QStringList pictures;
    FontChoice fontPreset;
};
