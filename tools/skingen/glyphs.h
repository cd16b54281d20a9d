#pragma once

#include <QPainterPath>
#include <QRectF>

// The symbols printed on the keys, as filled outlines.
enum class Glyph {
    Previous, // bar and two triangles pointing left
    Play,     // triangle pointing right
    Pause,    // two bars
    Stop,     // square
    Next,     // two triangles pointing right and a bar
    Eject,    // triangle pointing up over a bar
    Close,    // diagonal cross
    Minimise, // low bar
    Plus,
    Minus,
    Save, // floppy disk
    Loop, // two arrows chasing each other round a loop
};

// The glyph's outline centred in box (logical pixels). Straight edges fall on whole pixels so
// they stay sharp at 1x; devicePixel (1 or 0.5) lets the cross use whole pixels at 1x and
// smooth strokes at 2x.
QPainterPath glyphPath(Glyph glyph, const QRectF &box, qreal devicePixel);

// text in capital letters five pixels high with one-pixel strokes, centred in box on whole
// pixels: lettering too small for a typeface to stay sharp at 1x. Empty when text has a
// letter outside this small alphabet (F, L, P, S).
QPainterPath pixelLettering(const QString &text, const QRectF &box);
