#pragma once

// How the colours and the lyric font kept in the settings look on the screen.

#include <QColor>
#include <QFont>
#include <QPalette>

#include "persist/settingsfile.h"

class QWidget;

// The settings keep colours as 32-bit values with red in the low byte; a value with the
// top bit set names a system colour by its index in the low byte, which here is the
// matching colour of the desktop's palette.
QColor colourFromValue(qint32 value, const QPalette &palette);
// The plain colour value of `colour` (never a system colour).
qint32 valueFromColour(const QColor &colour);

// The font of the full-screen lyric line as the settings describe it.
QFont lyricFontOf(const LyricFontSetting &setting);

// Gives `widget` the colour `colour` for `role`, keeping the rest of its palette.
void setPaletteColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour);
