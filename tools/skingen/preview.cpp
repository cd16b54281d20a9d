#include "preview.h"

#include <QPainter>

#include "core/skinlayout.h"
#include "skin/skinimages.h"
#include "skindrawing.h"

namespace {

using Skin::Control;
using SkinPicture = Skin::Picture;

struct Placement
{
    QString path;
    QPoint place;
};

QList<Placement> placements()
{
    const auto at = [](Control control, SkinPicture picture) {
        return Placement{skinPicturePath(picture), Skin::rect(control).topLeft()};
    };
    // The knob at a given left edge along its track, in its own rows.
    const auto knobAt = [](const Skin::SliderTrack &track, SkinPicture picture, int left) {
        return Placement{skinPicturePath(picture), {left, Skin::rect(track.knob).top()}};
    };
    return {
        at(Control::ImgIcon, SkinPicture::WindowIcon),
        at(Control::ImgMin, SkinPicture::Minimise),
        at(Control::ImgClose, SkinPicture::Close),
        at(Control::ImgPreSong, SkinPicture::Previous),
        at(Control::ImgPlaySong, SkinPicture::Play),
        at(Control::ImgPauseSong, SkinPicture::Pause),
        at(Control::ImgStopSong, SkinPicture::Stop),
        at(Control::ImgNextSong, SkinPicture::Next),
        at(Control::ImgOpenSong, SkinPicture::Eject),
        at(Control::ImgRandom, SkinPicture::RandomOff),
        at(Control::ImgLoop, SkinPicture::LoopOn),
        at(Control::ImgFullscr, SkinPicture::FullScreen),
        at(Control::ImgShowList, SkinPicture::ListOn),
        // A little below full volume, centred, and a little way into a track.
        knobAt(Skin::VolumeTrack, SkinPicture::SmallKnob, Skin::VolumeTrack.right - 18),
        knobAt(Skin::BalanceTrack, SkinPicture::SmallKnob,
               (Skin::BalanceTrack.left + Skin::BalanceTrack.right) / 2),
        knobAt(Skin::PositionTrack, SkinPicture::PositionKnob, Skin::PositionTrack.left + 63),
        at(Control::ImgCloseList, SkinPicture::Close),
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
