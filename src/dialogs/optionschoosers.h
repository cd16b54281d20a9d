#pragma once

#include <optional>

#include <QColor>
#include <QFont>
#include <QStringList>

class QWidget;

// The full-screen lyric font as the font chooser edits it: the face with its effects, and
// the text colour.
struct FontChoice
{
    QFont font;
    QColor colour;
};

// The dialogs the options dialog shows over `parent`: real ones in the
// program, scripted answers in tests.
class OptionsChoosers
{
public:
    virtual ~OptionsChoosers() = default;

    // The font dialog, preset; nothing when the user cancelled.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &preset, QWidget *parent) = 0;
    // The colour dialog, preset; nothing when the user cancelled.
    virtual std::optional<QColor> chooseColour(const QColor &preset, QWidget *parent) = 0;
    // Pictures to add: full paths in the order the dialog gives them, none when cancelled.
    virtual QStringList choosePictures(QWidget *parent) = 0;
};
