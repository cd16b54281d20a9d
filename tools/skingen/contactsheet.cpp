#include "contactsheet.h"

#include <algorithm>

#include <QFileInfo>
#include <QPainter>

#include "preview.h"
#include "skindrawing.h"

namespace {

constexpr int Margin = 16;
constexpr int LabelHeight = 18;
constexpr int GridWidth = 1180;
// Small pictures are enlarged up to this height on the sheet.
constexpr int TargetHeight = 80;

// Draws every pixel of image into target, enlarged by repeating pixels, never smoothed.
void drawPixels(QPainter &painter, QImage image, const QRect &target)
{
    image.setDevicePixelRatio(1);
    painter.drawImage(target, image, image.rect());
}

void drawLabel(QPainter &painter, const QPoint &topLeft, const QString &text)
{
    painter.setPen(QColor(0xe8, 0xec, 0xf0));
    painter.drawText(QRect(topLeft, QSize(600, LabelHeight)), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}

// The 1x picture at zoom times its pixels beside the 2x one at half that zoom.
QSize cellSize(const RenderedPicture &picture, int zoom)
{
    const QSize shown = picture.normal.size() * zoom;
    return {std::max(2 * shown.width() + 8, 150), shown.height() + LabelHeight};
}

int zoomFor(const RenderedPicture &picture)
{
    return std::clamp(TargetHeight / picture.normal.height() / 2 * 2, 2, 8);
}

} // namespace

QImage makeContactSheet(const QList<RenderedPicture> &pictures)
{
    const RenderedPicture &skin = pictures.first();
    const QImage preview = composePreview(pictures, 1);
    const QImage doublePreview = composePreview(pictures, 2);
    const int gridLeft = Margin * 4 + skin.normal.width() + 2 * skin.doubled.width();

    // Lay the cells out in rows first, to know the sheet's height.
    QList<QPoint> places;
    QPoint next(gridLeft, Margin);
    int rowHeight = 0;
    for (qsizetype i = 1; i < pictures.size(); ++i) {
        const QSize cell = cellSize(pictures[i], zoomFor(pictures[i]));
        if (next.x() + cell.width() > gridLeft + GridWidth) {
            next = QPoint(gridLeft, next.y() + rowHeight + Margin);
            rowHeight = 0;
        }
        places.append(next);
        next.rx() += cell.width() + Margin;
        rowHeight = std::max(rowHeight, cell.height());
    }
    const int height =
        std::max(next.y() + rowHeight, LabelHeight + skin.doubled.height()) + 2 * Margin;

    QImage sheet(gridLeft + GridWidth + Margin, height, QImage::Format_RGB32);
    // Mid grey shows dark outlines and light highlights alike; transparent pixels show it too.
    sheet.fill(QColor(0x5c, 0x60, 0x66));
    QPainter painter(&sheet);
    painter.setFont(skinFont(12, false));
    drawLabel(painter, {Margin, Margin}, QStringLiteral("skin 1x"));
    drawPixels(painter, skin.normal,
               QRect(QPoint(Margin, Margin + LabelHeight), skin.normal.size()));
    const int doubleLeft = Margin * 2 + skin.normal.width();
    drawLabel(painter, {doubleLeft, Margin}, QStringLiteral("skin 2x"));
    drawPixels(painter, skin.doubled,
               QRect(QPoint(doubleLeft, Margin + LabelHeight), skin.doubled.size()));
    const int previewTop = Margin * 2 + LabelHeight + skin.normal.height();
    drawLabel(painter, {Margin, previewTop}, QStringLiteral("preview 1x"));
    drawPixels(painter, preview, QRect(QPoint(Margin, previewTop + LabelHeight), preview.size()));
    const int previewLeft = doubleLeft + Margin + skin.doubled.width();
    drawLabel(painter, {previewLeft, Margin}, QStringLiteral("preview 2x"));
    drawPixels(painter, doublePreview,
               QRect(QPoint(previewLeft, Margin + LabelHeight), doublePreview.size()));

    for (qsizetype i = 1; i < pictures.size(); ++i) {
        const RenderedPicture &picture = pictures[i];
        const int zoom = zoomFor(picture);
        const QPoint place = places[i - 1];
        drawLabel(painter, place, QFileInfo(picture.path).completeBaseName());
        const QSize shown = picture.normal.size() * zoom;
        const QPoint top = place + QPoint(0, LabelHeight);
        drawPixels(painter, picture.normal, QRect(top, shown));
        drawPixels(painter, picture.doubled, QRect(top + QPoint(shown.width() + 8, 0), shown));
    }
    return sheet;
}
