#include "preview.h"

#include <QPainter>

#include "core/skinlayout.h"
#include "skin/skinimages.h"
#include "skindrawing.h"

namespace {

using Skin::Control;

struct Placement
{
    QString path;
    QPoint place;
};

QList<Placement> placements()
{
    const auto at = [](Control control, int index) {
        return Placement{skinPicturePath(index), Skin::rect(control).topLeft()};
    };
    // The knob at a given left edge along its track, in its own rows.
    const auto knobAt = [](const Skin::SliderTrack &track, int index, int left) {
        return Placement{skinPicturePath(index), {left, Skin::rect(track.knob).top()}};
    };
    return {
        at(Control::ImgIcon, 5),
        at(Control::ImgMin, 4),
        at(Control::ImgClose, 2),
        at(Control::ImgPreSong, 11),
        at(Control::ImgPlaySong, 13),
        at(Control::ImgPauseSong, 15),
        at(Control::ImgStopSong, 19),
        at(Control::ImgNextSong, 17),
        at(Control::ImgOpenSong, 21),
        at(Control::ImgRandom, 29), // off
        at(Control::ImgLoop, 35),   // on
        at(Control::ImgFullscr, 27),
        at(Control::ImgShowList, 25), // on
        // A little below full volume, centred, and a little way into a track.
        knobAt(Skin::VolumeTrack, 7, Skin::VolumeTrack.right - 18),
        knobAt(Skin::BalanceTrack, 7, (Skin::BalanceTrack.left + Skin::BalanceTrack.right) / 2),
        knobAt(Skin::PositionTrack, 9, Skin::PositionTrack.left + 63),
        at(Control::ImgCloseList, 2),
        Placement{saveListPicturePath(), Skin::rect(Control::ImgPlaylist).topLeft()},
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
    drawLabel(painter, Skin::rect(Control::LTitle), QColor(255, 255, 0), 12, Qt::AlignLeft,
              QStringLiteral("岚铃播放器"));
    drawLabel(painter, Skin::rect(Control::LTxtMin), QColor(0, 255, 0), 12, Qt::AlignLeft,
              QStringLiteral("ZorvanPlayer"));
    drawLabel(painter, Skin::rect(Control::LInfo), QColor(0, 128, 0), 11, Qt::AlignHCenter,
              QStringLiteral("歌手 - 歌名"));
    drawLabel(painter, Skin::rect(Control::LTime), QColor(0, 255, 0), 16, Qt::AlignLeft,
              QStringLiteral("01:23"));
    // The first entry of the list, inset as the list box insets its items.
    const QRect list = Skin::rect(Control::ListSong);
    drawLabel(painter, QRect(list.topLeft() + QPoint(4, 2), QSize(list.width() - 9, 14)), Qt::white,
              12, Qt::AlignLeft, QStringLiteral("/home/user/音乐/歌曲.mp3"));
    return preview;
}
