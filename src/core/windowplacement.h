#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a restored window goes: at `topLeft` when its title strip (its top `stripHeight`
// pixels over its `width`) lies at least partly on one of `screens`, so that it can be
// grabbed and moved; otherwise (the monitor it was on is gone) at the top-left corner of
// `primary`. Positions left of or above the primary screen are kept when a screen is there.
QPoint placeOnScreens(QPoint topLeft, int width, int stripHeight, const QList<QRect> &screens,
                      const QRect &primary);

// Twips are 1/1440 inch; at 96 dots per inch a pixel is 15 twips.
double twipsPerPixel(double logicalDotsPerInch);
