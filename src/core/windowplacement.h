#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

// Where a restored window goes: at `topLeft` when its title strip (its top `stripHeight`
// pixels over its `width`) lies at least partly on one of `screens`, so that it can be
// grabbed and moved; otherwise (the monitor it was on is gone) at the top-left corner of
// `primary`. Positions left of or above the primary screen are kept when a screen is there.
QPoint placeOnScreens(QPoint topLeft, int width, int stripHeight, const QList<QRect> &screens,
                      const QRect &primary);

// Where `window` (a place and size) goes so that it lies whole on `available`, a screen's
// free area: moved by the least distance, or left where it is when it lies whole already.
// Along an axis on which it is larger than the area it goes to the area's left or top edge.
QPoint placeWhole(const QRect &window, const QRect &available);

// The device pixel ratio for a window of `windowPixels` at ratio 1 on a screen whose free
// area (without the desktop's panels) is `availablePixels` device pixels, where the desktop
// asks for `ratio`: `ratio` when the window lies whole on that area at it; else the largest of
// `skinRatios` (the ratios the skin has pictures for) below `ratio` at which it does; else,
// when the screen is too small for any, the smallest of them below `ratio`. `ratio` when none
// of them is below it.
double fittingPixelRatio(QSize windowPixels, QSize availablePixels, double ratio,
                         const QList<double> &skinRatios);

// Twips are 1/1440 inch; at 96 dots per inch a pixel is 15 twips.
double twipsPerPixel(double logicalDotsPerInch);

// One step of DragWindow, the move of the window by its drag strips, in twips (the settings'
// unit, so that the snapping distance is the one the settings give). `window` is the window's
// outer rectangle and `screen` the screen it is on, both in twips; `offset` is the pointer's
// distance from the point where the strip was pressed, in pixels, and `twipsPerPixel` turns
// it into twips per axis, so the window follows the pointer one to one. Returns the window's
// new top-left corner.
//
// Along an axis an offset of one pixel or less changes nothing. Horizontally a window lying
// exactly on the screen's left or right edge stays there unless pulled further than
// `snapTwips`; a window that moved ends on an edge it came nearer than `snapTwips` to.
// Vertically only the top edge holds: a window on it leaves it only when pulled down by more
// than `snapTwips` (never when pulled up), and a window that moved ends on it when its top is
// less than `snapTwips` below the edge, or above it.
QPointF dragWindowPlace(const QRectF &window, const QRectF &screen, QPointF offset,
                        QPointF twipsPerPixel, double snapTwips);
