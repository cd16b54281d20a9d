#include "glyphs.h"

#include <cmath>

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QSizeF>
#include <QTransform>

namespace {

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// The union of path's parts, whatever their direction: with both fill rules, overlapping
// parts drawn in opposite directions would leave holes. united() flattens curves to within
// about half a unit, so the work is done at eight times the size to keep them smooth at 2x.
QPainterPath merged(const QPainterPath &path)
{
    const QTransform enlarge = QTransform::fromScale(8, 8);
    QPainterPath result;
    for (const QPolygonF &part : enlarge.map(path).toSubpathPolygons()) {
        QPainterPath piece;
        piece.addPolygon(part);
        piece.closeSubpath();
        result = result.united(piece);
    }
    return enlarge.inverted().map(result);
}

QPainterPath rectangle(qreal x, qreal y, qreal width, qreal height)
{
    QPainterPath path;
    path.addRect(x, y, width, height);
    return path;
}

QSizeF naturalSize(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Previous:
    case Glyph::Next:
        return {10, 8};
    case Glyph::Play:
        return {7, 8};
    case Glyph::Pause:
        return {8, 8};
    case Glyph::Stop:
        return {7, 7};
    case Glyph::Eject:
        return {9, 8};
    case Glyph::Close:
        return {5, 5};
    case Glyph::Minimise:
        return {5, 2};
    case Glyph::Plus:
        return {8, 8};
    case Glyph::Minus:
        return {9, 2};
    case Glyph::Save:
        return {10, 10};
    case Glyph::Loop:
        return {12, 8};
    }
    return {};
}

// The cross: at 1x a staircase of whole pixels, which reads sharper than an anti-aliased
// line that thin; with finer pixels, two round-capped strokes.
QPainterPath cross(qreal devicePixel)
{
    QPainterPath path;
    if (devicePixel >= 1) {
        for (int i = 0; i < 5; ++i) {
            path.addRect(i, i, 1, 1);
            path.addRect(4 - i, i, 1, 1);
        }
        return merged(path);
    }
    QPainterPath lines;
    lines.moveTo(0.5, 0.5);
    lines.lineTo(4.5, 4.5);
    lines.moveTo(4.5, 0.5);
    lines.lineTo(0.5, 4.5);
    QPainterPathStroker stroker;
    stroker.setWidth(1.25);
    stroker.setCapStyle(Qt::RoundCap);
    return merged(stroker.createStroke(lines));
}

QPainterPath loop()
{
    QPainterPath lines;
    lines.moveTo(0.75, 5);
    lines.lineTo(0.75, 3);
    lines.quadTo(0.75, 0.75, 3, 0.75);
    lines.lineTo(8.5, 0.75);
    lines.moveTo(11.25, 3);
    lines.lineTo(11.25, 5);
    lines.quadTo(11.25, 7.25, 9, 7.25);
    lines.lineTo(3.5, 7.25);
    QPainterPathStroker stroker;
    stroker.setWidth(1.5);
    QPainterPath path = stroker.createStroke(lines);
    path.addPath(polygon({{8, -1.75}, {11.5, 0.75}, {8, 3.25}}));
    path.addPath(polygon({{4, 4.75}, {0.5, 7.25}, {4, 9.75}}));
    return merged(path);
}

QPainterPath floppy()
{
    QPainterPath path = polygon({{0, 0}, {8, 0}, {10, 2}, {10, 10}, {0, 10}});
    // Shutter and label are holes, so the key face shows through them.
    path.addRect(3, 1, 4, 3);
    path.addRect(2, 6, 6, 3);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath localGlyph(Glyph glyph, qreal devicePixel)
{
    switch (glyph) {
    case Glyph::Previous: {
        QPainterPath path = rectangle(0, 0, 2, 8);
        path.addPath(polygon({{2, 4}, {6, 0}, {6, 8}}));
        path.addPath(polygon({{6, 4}, {10, 0}, {10, 8}}));
        return merged(path);
    }
    case Glyph::Play:
        return polygon({{0, 0}, {7, 4}, {0, 8}});
    case Glyph::Pause: {
        QPainterPath path = rectangle(0, 0, 3, 8);
        path.addRect(5, 0, 3, 8);
        return path;
    }
    case Glyph::Stop:
        return rectangle(0, 0, 7, 7);
    case Glyph::Next: {
        QPainterPath path = polygon({{0, 0}, {4, 4}, {0, 8}});
        path.addPath(polygon({{4, 0}, {8, 4}, {4, 8}}));
        path.addRect(8, 0, 2, 8);
        return merged(path);
    }
    case Glyph::Eject: {
        QPainterPath path = polygon({{0, 5}, {4.5, 0}, {9, 5}});
        path.addRect(0, 6, 9, 2);
        return path;
    }
    case Glyph::Close:
        return cross(devicePixel);
    case Glyph::Minimise:
        return rectangle(0, 0, 5, 2);
    case Glyph::Plus: {
        QPainterPath path = rectangle(0, 3, 8, 2);
        path.addRect(3, 0, 2, 8);
        return merged(path);
    }
    case Glyph::Minus:
        return rectangle(0, 0, 9, 2);
    case Glyph::Save:
        return floppy();
    case Glyph::Loop:
        return loop();
    }
    return {};
}

} // namespace

QPainterPath glyphPath(Glyph glyph, const QRectF &box, qreal devicePixel)
{
    const QSizeF size = naturalSize(glyph);
    const QPointF origin(std::floor(box.center().x() - size.width() / 2),
                         std::floor(box.center().y() - size.height() / 2));
    return localGlyph(glyph, devicePixel).translated(origin);
}

namespace {

// Rows of a letter, four pixels wide and five high, top row first.
const char *pixelLetter(QChar letter)
{
    switch (letter.unicode()) {
    case 'F':
        return "####"
               "#..."
               "###."
               "#..."
               "#...";
    case 'L':
        return "#..."
               "#..."
               "#..."
               "#..."
               "####";
    case 'P':
        return "###."
               "#..#"
               "###."
               "#..."
               "#...";
    case 'S':
        return ".###"
               "#..."
               ".##."
               "...#"
               "###.";
    }
    return nullptr;
}

} // namespace

QPainterPath pixelLettering(const QString &text, const QRectF &box)
{
    constexpr int Width = 4;
    constexpr int Height = 5;
    const int textWidth = int(text.size()) * (Width + 1) - 1;
    const QPointF origin(std::floor(box.center().x() - textWidth / 2.0),
                         std::floor(box.center().y() - Height / 2.0));
    QPainterPath path;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char *rows = pixelLetter(text.at(i));
        if (!rows) {
            return {};
        }
        for (int cell = 0; cell < Width * Height; ++cell) {
            if (rows[cell] == '#') {
                path.addRect(origin.x() + i * (Width + 1) + cell % Width, origin.y() + cell / Width,
                             1, 1);
            }
        }
    }
    return merged(path);
}
