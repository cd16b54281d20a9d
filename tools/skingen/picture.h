#pragma once

#include <functional>

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class QPainter;

// One picture the generator writes: where it goes and how it is drawn.
struct Picture
{
    // Resource path of the design-size file, relative to ":/" ("skin/13-play.png").
    QString path;
    // Design size in pixels.
    QSize size;
    // Draws in design coordinates onto a transparent picture; the painter may carry a device
    // pixel ratio of 2, for which the function is run again to draw the 2x file.
    std::function<void(QPainter &)> draw;
};

// The picture drawn at scale times its design size (scale 1 or 2), with that device pixel
// ratio set.
QImage renderPicture(const Picture &picture, int scale);
