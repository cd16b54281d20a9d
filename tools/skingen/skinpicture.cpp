#include "skinpicture.h"

#include <QLinearGradient>
#include <QPainter>

#include "glyphs.h"
#include "skindrawing.h"

// Every place below is where the window puts the control named in the comment; the
// controls' rectangles are x, y, width, height in skin pixels.
namespace {

const QColor TrayFill{0x12, 0x16, 0x1c};

// Holes of a speaker grille over rect, three pixels apart: square at 1x, round at 2x.
void drawGrille(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    const bool round = isDoubleSize(painter);
    for (qreal y = rect.top(); y + 2 <= rect.bottom(); y += 3) {
        for (qreal x = rect.left(); x + 2 <= rect.right(); x += 3) {
            const QRectF hole(x, y, 2, 2);
            painter.setBrush(QColor(0x76, 0x84, 0x98, 90));
            painter.drawEllipse(hole.translated(0, 0.5));
            painter.setBrush(SkinColour::Outline);
            if (round) {
                painter.drawEllipse(hole);
            } else {
                painter.drawRect(hole);
            }
        }
    }
    painter.restore();
}

void drawTitleBar(QPainter &painter)
{
    drawTitleStrip(painter, QRectF(1, 1, 272, 17));
    // LDrag spans the strip; the grips either side of the title say it can be dragged.
    // ImgIcon sits at 2, -1; LTitle at 99, 2, about 60 x 12, in yellow on a dark plate;
    // ImgMin at 250, 3 and ImgClose at 264, 3, each 9 x 9.
    drawGripRidges(painter, QRectF(21, 4, 71, 11));
    drawRecess(painter, QRectF(95, 2, 69, 14), 3, QColor(0x1b, 0x20, 0x29));
    drawGripRidges(painter, QRectF(168, 4, 77, 11));
}

void drawDisplayArea(QPainter &painter)
{
    // LTxtMin 16, 24, 246, 16 and LInfo 104, 40, 158, 12 across the top; LTime 16, 48,
    // about 40 x 18, reaches lower, so the display steps down on the left.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(10, 21, 256, 35), 3, 3);
    outline.addRoundedRect(QRectF(10, 21, 92, 48), 3, 3);
    outline.setFillRule(Qt::WindingFill);
    drawDisplay(painter, outline.simplified());
}

void drawSliderTracks(QPainter &painter)
{
    // ImgSliderV (14 x 11, rows 58 to 68) travels from x 108 to 158: a wedge that widens
    // and brightens towards loud.
    QPainterPath wedge;
    wedge.addPolygon(QPolygonF({{110, 65}, {170, 59}, {170, 67}, {110, 67}}));
    wedge.closeSubpath();
    QLinearGradient level(QPointF(110, 0), QPointF(170, 0));
    level.setColorAt(0, QColor(0x06, 0x14, 0x0a));
    level.setColorAt(1, QColor(0x1a, 0x5c, 0x28));
    drawGroove(painter, wedge, level);

    // ImgSliderB travels from x 178 to 200; the centre mark is under its middle at 189 + 7,
    // below the knob (the display's edge is right above it).
    QPainterPath rail;
    rail.addRect(180, 61, 32, 4);
    drawGroove(painter, rail, TrayFill);
    painter.fillRect(QRectF(196, 70, 1, 2), QColor(0x9d, 0xa9, 0xb8));

    // ImgFullscr 220, 59, 21 x 10 and ImgShowList 243, 59, 22 x 10 share a tray.
    drawRecess(painter, QRectF(219, 58, 47, 12), 2, TrayFill);

    // ImgSliderP (29 x 10, rows 72 to 81) travels from x 17 to 235; the groove runs under
    // the whole travel, and marks at every tenth stand above it at the knob's grip point.
    QPainterPath groove;
    groove.addRect(17, 75, 247, 4);
    drawGroove(painter, groove, TrayFill);
    for (int tenth = 0; tenth <= 10; ++tenth) {
        const qreal x = std::round(17 + 14 + tenth * 21.8);
        painter.fillRect(QRectF(x, 72, 1, 2), QColor(0x9d, 0xa9, 0xb8, 150));
    }
}

void drawTransportRow(QPainter &painter)
{
    // ImgPreSong, ImgPlaySong, ImgPauseSong, ImgStopSong, ImgNextSong from x 15 to 130,
    // rows 87 to 106.
    drawRecess(painter, QRectF(13, 86, 118, 21), 3, TrayFill);
    // ImgOpenSong 136, 88, 22 x 16.
    drawRecess(painter, QRectF(134, 86, 26, 20), 3, TrayFill);
    // ImgRandom 164, 89, 47 x 15 and ImgLoop 210, 89, 28 x 15.
    drawRecess(painter, QRectF(162, 87, 78, 18), 3, TrayFill);
    drawGrille(painter, QRectF(245, 89, 23, 17));
}

void drawListPanel(QPainter &painter)
{
    drawPanel(painter, QRectF(0, 117, 274, 347));
    // LDrag2 8, 117, 249 x 15 over the strip; ImgCloseList at 264, 120.
    drawTitleStrip(painter, QRectF(1, 118, 272, 15));
    const QRectF caption(104, 118, 56, 14);
    painter.setFont(skinFont(11, false));
    painter.setPen(SkinColour::Outline);
    painter.drawText(caption.translated(0, 1), Qt::AlignCenter, QStringLiteral("播放列表"));
    painter.setPen(QColor(0xc9, 0xd2, 0xdd));
    painter.drawText(caption, Qt::AlignCenter, QStringLiteral("播放列表"));
    drawGripRidges(painter, QRectF(12, 121, 88, 9));
    drawGripRidges(painter, QRectF(164, 121, 94, 9));

    // ListSong 8, 136, 259 x 290 with its black background.
    QPainterPath list;
    list.addRect(8, 136, 259, 290);
    drawGroove(painter, list, Qt::black);

    // ImgAdd 16, 432, 17 x 25 and Image1 40, 432, 25 x 25 are bare hot spots: their keys
    // are painted here.
    drawRecess(painter, QRectF(14, 430, 53, 29), 3, TrayFill);
    const QRectF addKey(16, 432, 17, 25);
    drawKey(painter, addKey, false);
    drawGlyph(painter, glyphPath(Glyph::Plus, addKey, devicePixel(painter)), false);
    const QRectF removeKey(40, 432, 25, 25);
    drawKey(painter, removeKey, false);
    drawGlyph(painter, glyphPath(Glyph::Minus, removeKey, devicePixel(painter)), false);

    drawGrille(painter, QRectF(78, 436, 140, 17));
    // ImgPlaylist 231, 434, 22 x 18.
    drawRecess(painter, QRectF(229, 432, 26, 22), 3, TrayFill);
}

} // namespace

void drawSkin(QPainter &painter)
{
    painter.fillRect(QRectF(QPointF(0, 0), SkinSize), SkinColour::Outline);
    drawPanel(painter, QRectF(0, 0, 274, 116));
    drawTitleBar(painter);
    drawDisplayArea(painter);
    drawSliderTracks(painter);
    drawTransportRow(painter);
    drawListPanel(painter);
}
