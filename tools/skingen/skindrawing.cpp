#include "skindrawing.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "glyphs.h"

namespace {

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    if (radius > 0) {
        path.addRoundedRect(rect, radius, radius);
    } else {
        path.addRect(rect);
    }
    return path;
}

// Faint horizontal streaks of brushed metal, one per device row; only a 2x picture has rows
// fine enough for them to read as texture rather than stripes.
void drawBrushing(QPainter &painter, const QPainterPath &area)
{
    if (!isDoubleSize(painter)) {
        return;
    }
    const qreal step = devicePixel(painter);
    const QRectF bounds = area.boundingRect();
    painter.save();
    painter.setClipPath(area, Qt::IntersectClip);
    int row = 0;
    for (qreal y = bounds.top(); y < bounds.bottom(); y += step, ++row) {
        const int alpha = 12 + int(10 * std::sin(row * 2.3) * std::sin(row * 0.7));
        painter.fillRect(QRectF(bounds.left(), y, bounds.width(), step),
                         QColor(255, 255, 255, std::max(alpha, 0)));
    }
    painter.restore();
}

// The light edge one device pixel under an embossed glyph; dimmer on a pressed key, whose face
// is darker.
QColor embossLight(bool pressed)
{
    return QColor(255, 255, 255, pressed ? 70 : 150);
}

} // namespace

qreal devicePixel(const QPainter &painter)
{
    return 1.0 / painter.device()->devicePixelRatio();
}

bool isDoubleSize(const QPainter &painter)
{
    return painter.device()->devicePixelRatio() >= 2;
}

void drawPanel(QPainter &painter, const QRectF &rect)
{
    QLinearGradient body(rect.topLeft(), rect.bottomLeft());
    body.setColorAt(0, SkinColour::PanelTop);
    body.setColorAt(1, SkinColour::PanelBottom);
    painter.fillRect(rect, body);

    const QRectF inner = rect.adjusted(1, 1, -1, -1);
    painter.fillRect(QRectF(inner.left(), inner.top(), inner.width(), 1),
                     withAlpha(SkinColour::Highlight, 200));
    painter.fillRect(QRectF(inner.left(), inner.top(), 1, inner.height()),
                     withAlpha(SkinColour::Highlight, 140));
    painter.fillRect(QRectF(inner.left(), inner.bottom() - 1, inner.width(), 1),
                     SkinColour::Shadow);
    painter.fillRect(QRectF(inner.right() - 1, inner.top(), 1, inner.height()), SkinColour::Shadow);

    painter.save();
    painter.setPen(QPen(SkinColour::Outline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

void drawTitleStrip(QPainter &painter, const QRectF &rect)
{
    QLinearGradient strip(rect.topLeft(), rect.bottomLeft());
    strip.setColorAt(0, SkinColour::StripTop);
    strip.setColorAt(1, SkinColour::StripBottom);
    painter.fillRect(rect, strip);
    painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), devicePixel(painter)),
                     withAlpha(SkinColour::Highlight, 220));
    painter.fillRect(QRectF(rect.left(), rect.bottom() - 1, rect.width(), 1), SkinColour::Shadow);
}

void drawGroove(QPainter &painter, const QPainterPath &shape, const QBrush &fill)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(SkinColour::Highlight, 140));
    painter.drawPath(shape.translated(1, 1));
    painter.setBrush(SkinColour::Outline);
    painter.drawPath(shape.translated(-1, -1));
    painter.setBrush(fill);
    painter.drawPath(shape);
    // The shade under the top edge, two pixels deep.
    const QRectF bounds = shape.boundingRect();
    QLinearGradient shade(bounds.topLeft(), bounds.topLeft() + QPointF(0, 2));
    shade.setColorAt(0, QColor(0, 0, 0, 120));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(shade);
    painter.drawPath(shape);
    painter.restore();
}

void drawRecess(QPainter &painter, const QRectF &rect, qreal radius, const QColor &fill)
{
    drawGroove(painter, roundedRect(rect, radius), fill);
}

void drawGripRidges(QPainter &painter, const QRectF &rect)
{
    for (qreal y = rect.top(); y + 2 <= rect.bottom(); y += 3) {
        painter.fillRect(QRectF(rect.left(), y, rect.width(), 1), SkinColour::Shadow);
        painter.fillRect(QRectF(rect.left() + 1, y + 1, rect.width(), 1),
                         withAlpha(SkinColour::Highlight, 120));
    }
}

void drawDisplay(QPainter &painter, const QPainterPath &outline)
{
    const QRectF bounds = outline.boundingRect();
    QLinearGradient glass(bounds.topLeft(), bounds.bottomLeft());
    glass.setColorAt(0, SkinColour::LcdTop);
    glass.setColorAt(1, SkinColour::LcdBottom);
    drawGroove(painter, outline, glass);

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setClipPath(outline);
    // A faint diagonal reflection across the left of the glass.
    const QPolygonF sheen({bounds.topLeft(), bounds.topLeft() + QPointF(bounds.width() * 0.55, 0),
                           bounds.topLeft() + QPointF(bounds.width() * 0.35, bounds.height()),
                           bounds.bottomLeft()});
    painter.setBrush(QColor(160, 255, 180, 9));
    painter.drawPolygon(sheen);
    // Scan lines of the display matrix, fine enough only at 2x.
    if (isDoubleSize(painter)) {
        const qreal step = devicePixel(painter);
        for (qreal y = bounds.top() + step; y < bounds.bottom(); y += 2 * step) {
            painter.fillRect(QRectF(bounds.left(), y, bounds.width(), step), QColor(0, 0, 0, 45));
        }
    }
    painter.restore();
}

void drawKey(QPainter &painter, const QRectF &rect, bool pressed, qreal radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(SkinColour::Outline);
    painter.drawPath(roundedRect(rect, radius));

    const QRectF face = rect.adjusted(1, 1, -1, -1);
    const QPainterPath facePath = roundedRect(face, std::max<qreal>(radius - 1, 0));
    QLinearGradient metal(face.topLeft(), face.bottomLeft());
    if (pressed) {
        metal.setColorAt(0, QColor(0x6f, 0x79, 0x86));
        metal.setColorAt(1, QColor(0x9c, 0xa5, 0xb2));
    } else {
        metal.setColorAt(0, QColor(0xf0, 0xf3, 0xf7));
        metal.setColorAt(0.45, QColor(0xcb, 0xd1, 0xda));
        metal.setColorAt(1, QColor(0xa0, 0xa9, 0xb6));
    }
    painter.setBrush(metal);
    painter.drawPath(facePath);
    drawBrushing(painter, facePath);

    painter.setClipPath(facePath);
    const qreal pixel = devicePixel(painter);
    if (pressed) {
        // Shaded under the top edge, lit along the bottom: the key sits below the panel.
        QLinearGradient shade(face.topLeft(), face.topLeft() + QPointF(0, 2));
        shade.setColorAt(0, QColor(0, 0, 0, 120));
        shade.setColorAt(1, QColor(0, 0, 0, 0));
        painter.fillRect(face, shade);
        painter.fillRect(QRectF(face.left(), face.bottom() - pixel, face.width(), pixel),
                         QColor(255, 255, 255, 90));
    } else {
        painter.fillRect(QRectF(face.left(), face.top(), face.width(), pixel),
                         QColor(255, 255, 255, 235));
        painter.fillRect(QRectF(face.left(), face.bottom() - pixel, face.width(), pixel),
                         QColor(0x6c, 0x75, 0x82));
    }
    painter.restore();
}

void drawKnob(QPainter &painter, const QRectF &rect, qreal gripX, int ridges, bool pressed)
{
    drawKey(painter, rect, pressed, 2);
    const qreal pitch = 3;
    const qreal left = std::round(gripX - (ridges * pitch - 1) / 2);
    const QColor light = pressed ? withAlpha(SkinColour::LampLit, 230) : QColor(255, 255, 255, 210);
    for (int i = 0; i < ridges; ++i) {
        const qreal x = left + i * pitch;
        const QRectF ridge(x, rect.top() + 3, 1, rect.height() - 6);
        painter.fillRect(ridge, QColor(0x3a, 0x42, 0x4e));
        painter.fillRect(ridge.translated(1, 0), light);
    }
}

void drawLamp(QPainter &painter, const QPointF &centre, qreal radius, bool lit)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    if (lit) {
        QRadialGradient glow(centre, radius * 2.4);
        glow.setColorAt(0, withAlpha(SkinColour::LampLit, 170));
        glow.setColorAt(1, withAlpha(SkinColour::LampLit, 0));
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius * 2.4, radius * 2.4);
    }
    painter.setBrush(QColor(0x0e, 0x13, 0x10));
    painter.drawEllipse(centre, radius + 0.5, radius + 0.5);
    QRadialGradient body(centre - QPointF(radius, radius) * 0.35, radius * 1.3);
    if (lit) {
        body.setColorAt(0, QColor(0xe6, 0xff, 0xdc));
        body.setColorAt(0.45, SkinColour::LampLit);
        body.setColorAt(1, QColor(0x1c, 0x9a, 0x30));
    } else {
        body.setColorAt(0, QColor(0x5a, 0x6a, 0x5e));
        body.setColorAt(1, SkinColour::LampOff.darker(130));
    }
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void drawGlyph(QPainter &painter, const QPainterPath &glyph, bool pressed)
{
    const QPainterPath placed = pressed ? glyph.translated(1, 1) : glyph;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(embossLight(pressed));
    painter.drawPath(placed.translated(0, devicePixel(painter)));
    painter.setBrush(SkinColour::Glyph);
    painter.drawPath(placed);
    painter.restore();
}

void drawLettering(QPainter &painter, const QRectF &rect, const QString &text, int pixelSize,
                   bool pressed)
{
    if (!isDoubleSize(painter)) {
        const QPainterPath pixels = pixelLettering(text, rect);
        if (!pixels.isEmpty()) {
            drawGlyph(painter, pixels, pressed);
            return;
        }
    }
    // Centre the ink, not the line: the typeface's line is much taller than its capitals.
    const QFont font = skinFont(pixelSize, true);
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    const qreal pixel = devicePixel(painter);
    QPointF baseline = rect.center() - ink.center();
    baseline = QPointF(std::round(baseline.x() / pixel), std::round(baseline.y() / pixel)) * pixel;
    if (pressed) {
        baseline += QPointF(1, 1);
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(embossLight(pressed));
    painter.drawText(baseline + QPointF(0, pixel), text);
    painter.setPen(SkinColour::Glyph);
    painter.drawText(baseline, text);
    painter.restore();
}

QFont skinFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
    return font;
}
