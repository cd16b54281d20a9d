#include "preview.h"

#include <QPainter>

#include "skindrawing.h"
#include "skin/skinimages.h"

namespace {

struct Placement
{
    QString path;
    QPoint place;
};

QList<Placement> placements()
{
    const auto listPicture = [](int index, QPoint place) {
        return Placement{skinPicturePath(index), place};
    };
    return {
        listPicture(5, {2, -1}),                      // ImgIcon
        listPicture(4, {250, 3}),                     // ImgMin
        listPicture(2, {264, 3}),                     // ImgClose
        listPicture(11, {15, 87}),                    // ImgPreSong
        listPicture(13, {38, 87}),                    // ImgPlaySong
        listPicture(15, {61, 87}),                    // ImgPauseSong
        listPicture(19, {83, 88}),                    // ImgStopSong
        listPicture(17, {107, 87}),                   // ImgNextSong
        listPicture(21, {136, 88}),                   // ImgOpenSong
        listPicture(29, {164, 89}),                   // ImgRandom, off
        listPicture(35, {210, 89}),                   // ImgLoop, on
        listPicture(27, {220, 59}),                   // ImgFullscr
        listPicture(25, {243, 59}),                   // ImgShowList, on
        listPicture(7, {140, 58}),                    // ImgSliderV, a little below full volume
        listPicture(7, {189, 58}),                    // ImgSliderB, centred
        listPicture(9, {80, 72}),                     // ImgSliderP, a little way into a track
        listPicture(2, {264, 120}),                   // ImgCloseList
        Placement{saveListPicturePath(), {231, 434}}, // ImgPlaylist
    };
}

void drawLabel(QPainter &painter, const QRect &rect, const QColor &colour, int pixelSize,
               Qt::Alignment alignment, const QString &text)
{
    painter.setFont(skinFont(pixelSize, false));
    painter.setPen(colour);
    painter.drawText(rect, alignment | Qt::AlignVCenter, text);
}

} // namespace

QImage composePreview(const QList<RenderedPicture> &pictures, int scale)
{
    const auto image = [&](const QString &path) {
        for (const RenderedPicture &picture : pictures) {
            if (picture.path == path) {
                return scale == 1 ? picture.normal : picture.doubled;
            }
        }
        return QImage();
    };
    QImage preview = image(skinMainPicturePath()).copy();
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Placement &placement : placements()) {
        painter.drawImage(placement.place, image(placement.path));
    }
    drawLabel(painter, {99, 2, 60, 12}, QColor(255, 255, 0), 12, Qt::AlignLeft,
              QStringLiteral("岚铃播放器"));
    drawLabel(painter, {16, 24, 246, 16}, QColor(0, 255, 0), 12, Qt::AlignLeft,
              QStringLiteral("ZorvanPlayer"));
    drawLabel(painter, {104, 40, 158, 12}, QColor(0, 128, 0), 11, Qt::AlignHCenter,
              QStringLiteral("歌手 - 歌名"));
    drawLabel(painter, {16, 48, 44, 18}, QColor(0, 255, 0), 16, Qt::AlignLeft,
              QStringLiteral("01:23"));
    drawLabel(painter, {12, 138, 250, 14}, Qt::white, 12, Qt::AlignLeft,
              QStringLiteral("/home/user/音乐/歌曲.mp3"));
    return preview;
}
