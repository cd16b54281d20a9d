#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The parts every skin picture is made of: the slate panel, recesses, the green display,
// metal keys, lamps, glyphs and lettering. Coordinates are logical pixels: a painter on a 2x
// image draws the same shapes with twice the pixels, edges on whole logical pixels stay sharp,
// and hairline details take one device pixel, so the 2x pictures are finer, not just larger.

namespace SkinColour {
inline const QColor PanelTop{0x3d, 0x47, 0x57};
inline const QColor PanelBottom{0x22, 0x28, 0x32};
inline const QColor StripTop{0x4b, 0x57, 0x69};
inline const QColor StripBottom{0x2c, 0x34, 0x40};
inline const QColor Outline{0x0b, 0x0d, 0x11};
inline const QColor Highlight{0x76, 0x84, 0x98};
inline const QColor Shadow{0x14, 0x18, 0x1e};
inline const QColor Recess{0x16, 0x1a, 0x21};
inline const QColor Glyph{0x1b, 0x21, 0x29};
inline const QColor LcdTop{0x07, 0x17, 0x0c};
inline const QColor LcdBottom{0x02, 0x0a, 0x05};
inline const QColor LampLit{0x4c, 0xf0, 0x5e};
inline const QColor LampOff{0x2a, 0x38, 0x2e};
} // namespace SkinColour

// One device pixel in logical pixels: 1 on a 1x image, 0.5 on a 2x one.
qreal devicePixel(const QPainter &painter);
// True when the painter draws at twice the design size or more.
bool isDoubleSize(const QPainter &painter);

// The panel body: a soft vertical gradient with a raised frame (outline, light top-left,
// dark bottom-right).
void drawPanel(QPainter &painter, const QRectF &rect);
// A title strip: lighter gradient, engraved line along its bottom edge.
void drawTitleStrip(QPainter &painter, const QRectF &rect);
// A shape pressed into the panel, filled with fill: a dark edge just outside its top and left
// sides, a light one outside its bottom and right sides, shade under its top edge.
void drawGroove(QPainter &painter, const QPainterPath &shape, const QBrush &fill);
// A rounded well for button trays, rect being its inside.
void drawRecess(QPainter &painter, const QRectF &rect, qreal radius, const QColor &fill);
// Engraved horizontal ridges filling rect, spaced 3 pixels apart: a grip for dragging.
void drawGripRidges(QPainter &painter, const QRectF &rect);
// The green display: near-black glass, sunken like a groove; outline may be any shape.
void drawDisplay(QPainter &painter, const QPainterPath &outline);

// A brushed-metal key filling rect. A pressed key is darker, lit from below and shaded along
// its top edge, as if pushed into the panel.
void drawKey(QPainter &painter, const QRectF &rect, bool pressed, qreal radius = 2);
// A slider knob: a key with vertical grip ridges centred on gripX. Pressed, it darkens and its
// ridges light up green.
void drawKnob(QPainter &painter, const QRectF &rect, qreal gripX, int ridges, bool pressed);
// A round lamp (LED) of the given radius; a lit lamp glows beyond its radius.
void drawLamp(QPainter &painter, const QPointF &centre, qreal radius, bool lit);
// Fills a glyph outline embossed into a key face: dark glyph with a light edge below it. A
// glyph on a pressed key moves one pixel down and right with the face.
void drawGlyph(QPainter &painter, const QPainterPath &glyph, bool pressed);
// Lettering centred on a key, embossed like a glyph. Latin capitals at 1x are drawn in
// whole pixels (pixelLettering); everything else in the skin's typeface at pixelSize.
void drawLettering(QPainter &painter, const QRectF &rect, const QString &text, int pixelSize,
                   bool pressed);

// The skin's one typeface: Noto Sans CJK, which has the Latin letters and the Chinese ones.
QFont skinFont(int pixelSize, bool bold);
