#pragma once

#include <QList>

#include "picture.h"

class QPainter;

// Every picture besides the skin: the image list in index order (each pair pressed, then
// normal; toggles off pair, then on pair), the save-list button and the application icons.
QList<Picture> buttonPictures();

// The application's icon filling a square of edge logical pixels: a metal-rimmed dark green
// display with two glowing notes. Picture 5 is this icon at 16 pixels.
void drawApplicationIcon(QPainter &painter, qreal edge);
