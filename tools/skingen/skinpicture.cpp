#include "skinpicture.h"

#include <cmath>
#include <initializer_list>

#include <QLinearGradient>
#include <QPainter>

#include "core/skinlayout.h"
#include "glyphs.h"
#include "skindrawing.h"

// Every control's place comes from the skin layout table. The trays, grooves, grips and the
// display around the controls are drawn relative to their rectangles, so they move with the
// table; only the speaker grilles, which belong to no control, have places of their own.
namespace {

using Skin::Control;

const QColor TrayFill{0x12, 0x16, 0x1c};
const QColor MarkColour{0x9d, 0xa9, 0xb8};

QRectF placeOf(Control control)
{
    return QRectF(Skin::rect(control));
}

// The smallest rectangle holding every one of controls.
QRectF around(std::initializer_list<Control> controls)
{
    QRect united;
    for (const Control control : controls) {
        united |= Skin::rect(control);
    }
    return QRectF(united);
}

// What a knob sweeps on its way along its track: from its left edge at the lowest value to
// its right edge at the highest, in the knob's rows.
QRectF sweepOf(const Skin::SliderTrack &track)
{
    const QRectF knob = placeOf(track.knob);
    return QRectF(track.left, knob.top(), track.travel() + knob.width(), knob.height());
}

// The title strip behind a drag label, across the window inside its frame.
QRectF stripBehind(Control dragLabel)
{
    const QRectF drag = placeOf(dragLabel);
    return QRectF(1, drag.top() + 1, Skin::WindowWidth - 2, drag.height());
}

// Grip ridges on the strip behind a drag label, from x left to x right.
QRectF gripsOn(Control dragLabel, qreal left, qreal right)
{
    const QRectF drag = placeOf(dragLabel);
    return QRectF(left, drag.top() + 4, right - left, drag.height() - 6);
}

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
    drawTitleStrip(painter, stripBehind(Control::LDrag));
    // LTitle shows in yellow on a dark plate; the grips either side of it, from the icon to
    // the plate and from the plate to the minimise key, say the bar can be dragged.
    const QRectF plate = placeOf(Control::LTitle).adjusted(-4, 0, 5, 2);
    drawGripRidges(
        painter, gripsOn(Control::LDrag, placeOf(Control::ImgIcon).right() + 3, plate.left() - 3));
    drawRecess(painter, plate, 3, QColor(0x1b, 0x20, 0x29));
    drawGripRidges(painter,
                   gripsOn(Control::LDrag, plate.right() + 4, placeOf(Control::ImgMin).left() - 5));
}

void drawDisplayArea(QPainter &painter)
{
    // The display lies behind LTxtMin and LInfo across the top; LTime reaches lower, so on the
    // left the display steps down below it, as far across as LInfo leaves room.
    const QRectF upper =
        (placeOf(Control::LTxtMin) | placeOf(Control::LInfo)).adjusted(-6, -3, 4, 4);
    const QRectF step(upper.topLeft(), QPointF(placeOf(Control::LInfo).left() - 2,
                                               placeOf(Control::LTime).bottom() + 3));
    QPainterPath outline;
    outline.addRoundedRect(upper, 3, 3);
    outline.addRoundedRect(step, 3, 3);
    outline.setFillRule(Qt::WindingFill);
    drawDisplay(painter, outline.simplified());
}

void drawSliderTracks(QPainter &painter)
{
    // Under ImgSliderV, a wedge that widens and brightens towards loud.
    const QRectF volume = sweepOf(Skin::VolumeTrack);
    const qreal quiet = volume.left() + 2;
    const qreal loud = volume.right() - 2;
    const qreal base = volume.bottom() - 2;
    QPainterPath wedge;
    wedge.addPolygon(QPolygonF(
        {{quiet, volume.top() + 7}, {loud, volume.top() + 1}, {loud, base}, {quiet, base}}));
    wedge.closeSubpath();
    QLinearGradient level(QPointF(quiet, 0), QPointF(loud, 0));
    level.setColorAt(0, QColor(0x06, 0x14, 0x0a));
    level.setColorAt(1, QColor(0x1a, 0x5c, 0x28));
    drawGroove(painter, wedge, level);

    // Under ImgSliderB, a rail with a mark below the knob's middle at the centre of its
    // travel; the mark goes below, not above, because the display's edge is right above.
    const QRectF balance = sweepOf(Skin::BalanceTrack);
    QPainterPath rail;
    rail.addRect(balance.left() + 2, balance.top() + 3, balance.width() - 4, 4);
    drawGroove(painter, rail, TrayFill);
    painter.fillRect(QRectF(balance.center().x(), balance.bottom() + 1, 1, 2), MarkColour);

    // ImgFullscr and ImgShowList share a tray.
    drawRecess(painter, around({Control::ImgFullscr, Control::ImgShowList}).adjusted(-1, -1, 1, 1),
               2, TrayFill);

    // Under ImgSliderP, a groove along the whole sweep, with marks above it at every tenth
    // of the travel where the knob's grip point stands.
    const Skin::SliderTrack &track = Skin::PositionTrack;
    const QRectF position = sweepOf(track);
    QPainterPath groove;
    groove.addRect(position.left(), position.top() + 3, position.width(), 4);
    drawGroove(painter, groove, TrayFill);
    QColor faintMark = MarkColour;
    faintMark.setAlpha(150);
    for (int tenth = 0; tenth <= 10; ++tenth) {
        const qreal x = std::round(track.left + track.grip + tenth * track.travel() / 10.0);
        painter.fillRect(QRectF(x, position.top(), 1, 2), faintMark);
    }
}

void drawTransportRow(QPainter &painter)
{
    drawRecess(painter,
               around({Control::ImgPreSong, Control::ImgPlaySong, Control::ImgPauseSong,
                       Control::ImgStopSong, Control::ImgNextSong})
                   .adjusted(-2, -1, 1, 0),
               3, TrayFill);
    drawRecess(painter, placeOf(Control::ImgOpenSong).adjusted(-2, -2, 2, 2), 3, TrayFill);
    drawRecess(painter, around({Control::ImgRandom, Control::ImgLoop}).adjusted(-2, -2, 2, 1), 3,
               TrayFill);
    drawGrille(painter, QRectF(245, 89, 23, 17));
}

void drawListPanel(QPainter &painter)
{
    drawPanel(painter, QRectF(0, Skin::HeightWithoutList + 1, Skin::WindowWidth,
                              Skin::HeightWithList - Skin::HeightWithoutList - 1));
    // The caption centred over LDrag2, grips either side of it up to the close key.
    const QRectF strip = stripBehind(Control::LDrag2);
    drawTitleStrip(painter, strip);
    const qreal captionWidth = 56;
    const QRectF drag = placeOf(Control::LDrag2);
    const QRectF caption(std::floor(drag.center().x() - captionWidth / 2), strip.top(),
                         captionWidth, strip.height() - 1);
    painter.setFont(skinFont(11, false));
    painter.setPen(SkinColour::Outline);
    painter.drawText(caption.translated(0, 1), Qt::AlignCenter, QStringLiteral("播放列表"));
    painter.setPen(QColor(0xc9, 0xd2, 0xdd));
    painter.drawText(caption, Qt::AlignCenter, QStringLiteral("播放列表"));
    drawGripRidges(painter, gripsOn(Control::LDrag2, drag.left() + 4, caption.left() - 4));
    drawGripRidges(painter, gripsOn(Control::LDrag2, caption.right() + 4,
                                    placeOf(Control::ImgCloseList).left() - 6));

    // ListSong has a black background of its own; the skin matches it.
    QPainterPath list;
    list.addRect(placeOf(Control::ListSong));
    drawGroove(painter, list, Qt::black);

    // ImgAdd and Image1 are bare hot spots: their keys are painted here.
    drawRecess(painter, around({Control::ImgAdd, Control::Image1}).adjusted(-2, -2, 2, 2), 3,
               TrayFill);
    const QRectF addKey = placeOf(Control::ImgAdd);
    drawKey(painter, addKey, false);
    drawGlyph(painter, glyphPath(Glyph::Plus, addKey, devicePixel(painter)), false);
    const QRectF removeKey = placeOf(Control::Image1);
    drawKey(painter, removeKey, false);
    drawGlyph(painter, glyphPath(Glyph::Minus, removeKey, devicePixel(painter)), false);

    drawGrille(painter, QRectF(78, 436, 140, 17));
    drawRecess(painter, placeOf(Control::ImgPlaylist).adjusted(-2, -2, 2, 2), 3, TrayFill);
}

} // namespace

void drawSkin(QPainter &painter)
{
    painter.fillRect(QRectF(QPointF(0, 0), Skin::PictureSize), SkinColour::Outline);
    drawPanel(painter, QRectF(0, 0, Skin::WindowWidth, Skin::HeightWithoutList));
    drawTitleBar(painter);
    drawDisplayArea(painter);
    drawSliderTracks(painter);
    drawTransportRow(painter);
    drawListPanel(painter);
}
