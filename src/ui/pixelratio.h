#pragma once

#include <QPaintEngine>
#include <QPainter>

// The device pixel ratio of what `painter` really paints on: the window's backing store on a
// screen, or the picture a widget is rendered into. The skin's pictures are chosen by it.
inline qreal pixelRatio(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->paintDevice() ? engine->paintDevice()->devicePixelRatioF() : 1.0;
}
