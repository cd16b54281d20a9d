#include "buttonpictures.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include "core/skinlayout.h"
#include "glyphs.h"
#include "skin/skinimages.h"
#include "skindrawing.h"

namespace {

using Skin::Control;
using SkinPicture = Skin::Picture;
using KeyDrawing = std::function<void(QPainter &, bool pressed)>;

// Adds the pictures `pressed` and the normal one that follows it in the image list.
void addPair(QList<Picture> &pictures, SkinPicture pressed, QSize size, const KeyDrawing &draw)
{
    const auto normal = SkinPicture(int(pressed) + 1);
    pictures.append({skinPicturePath(pressed), size, [draw](QPainter &p) { draw(p, true); }});
    pictures.append({skinPicturePath(normal), size, [draw](QPainter &p) { draw(p, false); }});
}

KeyDrawing glyphKey(const QRectF &face, Glyph glyph, qreal radius = 2)
{
    return [=](QPainter &painter, bool pressed) {
        drawKey(painter, face, pressed, radius);
        drawGlyph(painter, glyphPath(glyph, face, devicePixel(painter)), pressed);
    };
}

// A toggle: a key with a lamp at lampCentre, lit in the on state, beside its label.
KeyDrawing lampKey(const QRectF &face, const QPointF &lampCentre, qreal lampRadius, bool lit,
                   const KeyDrawing &label)
{
    return [=](QPainter &painter, bool pressed) {
        drawKey(painter, face, pressed);
        drawLamp(painter, lampCentre, lampRadius, lit);
        label(painter, pressed);
    };
}

KeyDrawing lettering(const QRectF &box, const QString &text, int pixelSize)
{
    return [=](QPainter &painter, bool pressed) {
        drawLettering(painter, box, text, pixelSize, pressed);
    };
}

// A picture's size is that of the control showing it.
QSize sizeOf(Control control)
{
    return Skin::rect(control).size();
}

// The whole of a control's picture.
QRectF wholeOf(Control control)
{
    return QRectF(QPointF(0, 0), sizeOf(control));
}

// The transport keys show their faces in the same rows with 2-pixel gaps: the taller
// pictures leave their top and bottom rows empty and their last two columns; the stop
// picture, placed a row lower and one column nearer the pause key than the spacing of the
// others, starts its face one column in.
const QRectF TransportFace = wholeOf(Control::ImgPlaySong).adjusted(0, 1, -2, -1);
const QRectF StopFace = wholeOf(Control::ImgStopSong).adjusted(1, 0, -1, 0);

QPainterPath notes()
{
    QPainterPath path;
    const QTransform tilt = QTransform().rotate(-20);
    for (const QPointF head : {QPointF(6.0, 11.4), QPointF(11.0, 10.2)}) {
        QPainterPath ellipse;
        ellipse.addEllipse(QPointF(0, 0), 2.05, 1.55);
        path.addPath(tilt.map(ellipse).translated(head));
    }
    path.addRect(7, 5, 1, 6.5);
    path.addRect(12, 3.8, 1, 6.5);
    QPolygonF beam({{7, 4.6}, {13, 3.4}, {13, 5.4}, {7, 6.6}});
    path.addPolygon(beam);
    path.closeSubpath();
    path.setFillRule(Qt::WindingFill);
    return path;
}

} // namespace

void drawApplicationIcon(QPainter &painter, qreal edge)
{
    const qreal unit = edge / 16;
    const bool small = edge <= 16;
    const qreal line = small ? 1 : std::max(edge / 40, devicePixel(painter));
    const qreal rimWidth = small ? 0 : line * 1.5;
    const QRectF plate(unit, unit, 14 * unit, 14 * unit);
    const qreal radius = edge * 0.19;

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(SkinColour::Outline);
    painter.drawRoundedRect(plate, radius, radius);
    QRectF inside = plate.adjusted(line, line, -line, -line);
    if (rimWidth > 0) {
        QLinearGradient metal(inside.topLeft(), inside.bottomLeft());
        metal.setColorAt(0, QColor(0xee, 0xf1, 0xf5));
        metal.setColorAt(1, QColor(0x8c, 0x95, 0xa3));
        painter.setBrush(metal);
        painter.drawRoundedRect(inside, radius - line, radius - line);
        inside.adjust(rimWidth, rimWidth, -rimWidth, -rimWidth);
        painter.setBrush(SkinColour::Outline);
        painter.drawRoundedRect(inside, radius - line - rimWidth, radius - line - rimWidth);
        inside.adjust(line / 2, line / 2, -line / 2, -line / 2);
    }
    const qreal glassRadius = std::max<qreal>(radius - line - rimWidth, 1);
    QPainterPath glassPath;
    glassPath.addRoundedRect(inside, glassRadius, glassRadius);
    QLinearGradient glass(inside.topLeft(), inside.bottomLeft());
    glass.setColorAt(0, SkinColour::LcdTop.lighter(170));
    glass.setColorAt(1, SkinColour::LcdBottom);
    painter.setBrush(glass);
    painter.drawPath(glassPath);
    painter.setClipPath(glassPath);

    // Small, the notes fill the glass to stay legible; large, they leave room for the glow.
    const qreal noteScale = small ? 1 : 0.84;
    const QPointF centre = inside.center();
    const QPainterPath notePath = QTransform()
                                      .translate(centre.x(), centre.y())
                                      .scale(noteScale, noteScale)
                                      .translate(-centre.x(), -centre.y())
                                      .scale(unit, unit)
                                      .map(notes());
    if (!small) {
        // The glow: the notes widened in many faint steps, so it fades without bands.
        painter.setBrush(Qt::NoBrush);
        for (int step = 12; step >= 1; --step) {
            painter.setPen(QPen(QColor(0x4c, 0xf0, 0x5e, 14), step * unit * 0.3, Qt::SolidLine,
                                Qt::RoundCap, Qt::RoundJoin));
            painter.drawPath(notePath);
        }
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(QColor(0x7d, 0xff, 0x8c));
    painter.drawPath(notePath);

    if (!small) {
        // Reflection on the upper half of the glass.
        QLinearGradient sheen(inside.topLeft(), QPointF(inside.left(), inside.center().y()));
        sheen.setColorAt(0, QColor(255, 255, 255, 46));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setBrush(sheen);
        painter.drawEllipse(QRectF(inside.left() - inside.width() * 0.2,
                                   inside.top() - inside.height() * 0.55, inside.width() * 1.4,
                                   inside.height() * 1.05));
    }
    painter.restore();
}

QList<Picture> buttonPictures()
{
    QList<Picture> pictures;
    // The close pictures serve ImgClose and ImgCloseList.
    const QRectF titleBox = wholeOf(Control::ImgClose);
    addPair(pictures, SkinPicture::ClosePressed, sizeOf(Control::ImgClose),
            glyphKey(titleBox, Glyph::Close, 1.5));
    addPair(pictures, SkinPicture::MinimisePressed, sizeOf(Control::ImgMin),
            [](QPainter &painter, bool pressed) {
                drawKey(painter, wholeOf(Control::ImgMin), pressed, 1.5);
                // The bar sits low in the box, where a window's minimised self would go.
                drawGlyph(painter,
                          glyphPath(Glyph::Minimise, QRectF(1, 4, 7, 4), devicePixel(painter)),
                          pressed);
            });
    const int iconEdge = sizeOf(Control::ImgIcon).width();
    pictures.append({skinPicturePath(SkinPicture::WindowIcon), sizeOf(Control::ImgIcon),
                     [iconEdge](QPainter &p) { drawApplicationIcon(p, iconEdge); }});
    // Each knob has its grip ridges in its middle. The small knob serves ImgSliderV and
    // ImgSliderB.
    addPair(pictures, SkinPicture::SmallKnobPressed, sizeOf(Control::ImgSliderV),
            [](QPainter &painter, bool pressed) {
                const QRectF knob = wholeOf(Control::ImgSliderV);
                drawKnob(painter, knob, knob.width() / 2, 3, pressed);
            });
    addPair(pictures, SkinPicture::PositionKnobPressed, sizeOf(Control::ImgSliderP),
            [](QPainter &painter, bool pressed) {
                const QRectF knob = wholeOf(Control::ImgSliderP);
                drawKnob(painter, knob, knob.width() / 2, 4, pressed);
            });
    const QSize transport = sizeOf(Control::ImgPlaySong);
    addPair(pictures, SkinPicture::PreviousPressed, transport,
            glyphKey(TransportFace, Glyph::Previous));
    addPair(pictures, SkinPicture::PlayPressed, transport, glyphKey(TransportFace, Glyph::Play));
    addPair(pictures, SkinPicture::PausePressed, transport, glyphKey(TransportFace, Glyph::Pause));
    addPair(pictures, SkinPicture::NextPressed, transport, glyphKey(TransportFace, Glyph::Next));
    addPair(pictures, SkinPicture::StopPressed, sizeOf(Control::ImgStopSong),
            glyphKey(StopFace, Glyph::Stop));
    addPair(pictures, SkinPicture::EjectPressed, sizeOf(Control::ImgOpenSong),
            glyphKey(wholeOf(Control::ImgOpenSong), Glyph::Eject));

    const QRectF listFace = wholeOf(Control::ImgShowList);
    const KeyDrawing listLabel = lettering(QRectF(8, 0, 13, 10), QStringLiteral("PL"), 7);
    addPair(pictures, SkinPicture::ListOffPressed, listFace.size().toSize(),
            lampKey(listFace, {4.5, 5}, 1.6, false, listLabel));
    addPair(pictures, SkinPicture::ListOnPressed, listFace.size().toSize(),
            lampKey(listFace, {4.5, 5}, 1.6, true, listLabel));

    addPair(pictures, SkinPicture::FullScreenPressed, sizeOf(Control::ImgFullscr),
            [](QPainter &painter, bool pressed) {
                const QRectF face = wholeOf(Control::ImgFullscr);
                drawKey(painter, face, pressed);
                drawLettering(painter, face, QStringLiteral("FS"), 7, pressed);
            });

    // The random and loop pictures overlap by a column. The random face ends where the loop
    // picture begins and the loop face starts two columns in, so the faces stand 2 pixels
    // apart like the transport keys.
    const QRect random = Skin::rect(Control::ImgRandom);
    const QRectF randomFace(0, 0, Skin::rect(Control::ImgLoop).left() - random.left(),
                            random.height());
    const KeyDrawing randomLabel = lettering(QRectF(12, 0, 33, 15), QStringLiteral("随机"), 10);
    addPair(pictures, SkinPicture::RandomOffPressed, random.size(),
            lampKey(randomFace, {6.5, 7.5}, 2.2, false, randomLabel));
    addPair(pictures, SkinPicture::RandomOnPressed, random.size(),
            lampKey(randomFace, {6.5, 7.5}, 2.2, true, randomLabel));

    const QRectF loopFace = wholeOf(Control::ImgLoop).adjusted(2, 0, 0, 0);
    const KeyDrawing loopLabel = [](QPainter &painter, bool pressed) {
        drawGlyph(painter, glyphPath(Glyph::Loop, QRectF(12, 0, 14, 15), devicePixel(painter)),
                  pressed);
    };
    const QSize loop = sizeOf(Control::ImgLoop);
    addPair(pictures, SkinPicture::LoopOffPressed, loop,
            lampKey(loopFace, {8.5, 7.5}, 2.2, false, loopLabel));
    addPair(pictures, SkinPicture::LoopOnPressed, loop,
            lampKey(loopFace, {8.5, 7.5}, 2.2, true, loopLabel));

    // ImgPlaylist has one picture, which never changes.
    const KeyDrawing saveKey = glyphKey(wholeOf(Control::ImgPlaylist), Glyph::Save);
    pictures.append({saveListPicturePath(), sizeOf(Control::ImgPlaylist),
                     [saveKey](QPainter &p) { saveKey(p, false); }});
    for (const int edge : applicationIconSizes()) {
        pictures.append({applicationIconPath(edge), {edge, edge}, [edge](QPainter &painter) {
                             drawApplicationIcon(painter, edge);
                         }});
    }
    return pictures;
}
