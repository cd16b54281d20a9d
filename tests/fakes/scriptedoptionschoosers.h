#pragma once

#include <QStringList>

#include "dialogs/optionschoosers.h"

// Answers the options dialog's choosers as the test sets them (nothing: cancelled) and
// records what was asked and reported.
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
    void reportBadPicture(QWidget *) override { reports << QStringLiteral("图片文件错误！"); }
    void reportWriteFailure(const QString &path, const QString &, QWidget *) override
    {
        reports << path;
    }

    std::optional<FontChoice> font;
    std::optional<QColor> colour;
    QStringList pictures;
    FontChoice fontPreset;
    QStringList reports;
};
