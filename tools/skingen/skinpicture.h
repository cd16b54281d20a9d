#pragma once

class QPainter;

// Draws the skin picture behind the main window, Skin::PictureSize in design pixels: the top
// panel as high as the window without its list, a dark seam row, the playlist panel below; the
// last column lies beyond the window's width and never shows. The window lays its buttons,
// knobs and labels over it at run time, so the skin holds what lies under them: trays and
// recesses under the buttons, the slider tracks, the display behind the labels, the black list
// area, and the painted add and remove keys, which have no pictures of their own.
void drawSkin(QPainter &painter);
