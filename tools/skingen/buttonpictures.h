#pragma once

#include <QList>

#include "picture.h"

class QPainter;

// Every picture besides the skin: the image list in the order of Skin::Picture, the save-list
// button and the application icons.
QList<Picture> buttonPictures();

// The application's icon filling a square of edge logical pixels: a metal-rimmed dark green
// display with two glowing notes. Skin::Picture::WindowIcon is this icon at 16 pixels.
void drawApplicationIcon(QPainter &painter, qreal edge);
