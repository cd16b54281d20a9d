#pragma once

#include <QSize>

class QPainter;

// The skin picture behind the main window, in pixels: the top panel in rows 0 to 115 (the
// compact window shows rows 0 to 115), a dark seam in row 116, the playlist panel in rows
// 117 to 463. The window is 274 pixels wide, so column 274 never shows.
inline constexpr QSize SkinSize{275, 464};

// Draws the skin. The window lays its buttons, knobs and labels over it at run time, so the
// skin holds what lies under them: trays and recesses under the buttons, the slider tracks,
// the display behind the labels, the black list area, and the painted add and remove keys,
// which have no pictures of their own.
void drawSkin(QPainter &painter);
