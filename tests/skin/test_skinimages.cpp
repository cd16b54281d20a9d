#include "skin/skinimages.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "core/skinlayout.h"

// The pictures the build draws, against the skin layout table at both ratios: a picture of
// another size than its control, or a skin drawn off the table, shows in the window.

namespace {

using Skin::Control;
using enum Skin::Control;
using enum Skin::Picture;

const qreal Ratios[] = {1.0, 2.0};

// The control that shows each picture of the image list, so the picture must be its size.
Control controlShowing(Skin::Picture picture)
{
    const struct
    {
        Skin::Picture last; // the last picture the control shows
        Control control;
    } ranges[] = {
        {Close, ImgClose},        {Minimise, ImgMin},         {WindowIcon, ImgIcon},
        {SmallKnob, ImgSliderV},  {PositionKnob, ImgSliderP}, {Next, ImgPlaySong},
        {Stop, ImgStopSong},      {Eject, ImgOpenSong},       {ListOn, ImgShowList},
        {FullScreen, ImgFullscr}, {RandomOn, ImgRandom},
    };
    for (const auto &range : ranges) {
        if (picture <= range.last)
            return range.control;
    }
    return ImgLoop;
}

TEST(SkinPictures, EveryPictureFitsItsControlAtBothRatios)
{
    for (const qreal ratio : Ratios) {
        // The 2x picture has twice the pixels but paints at the design size.
        const auto expectFits = [ratio](const QPixmap &picture, QSize size) {
            EXPECT_EQ(picture.size(), size * ratio);
            EXPECT_EQ(picture.devicePixelRatio(), ratio);
        };
        SCOPED_TRACE(ratio);
        expectFits(skinMainPicture(ratio), Skin::PictureSize);
        expectFits(saveListPicture(ratio), Skin::rect(ImgPlaylist).size());
        for (int index = 1; index <= Skin::PictureCount; ++index) {
            SCOPED_TRACE(index);
            const auto picture = Skin::Picture(index);
            expectFits(skinPicture(picture, ratio), Skin::rect(controlShowing(picture)).size());
        }
        EXPECT_TRUE(skinPicture(None, ratio).isNull());
        EXPECT_TRUE(skinPicture(Skin::Picture(Skin::PictureCount + 1), ratio).isNull());
        for (const int edge : applicationIconSizes()) {
            const QString path = applicationIconPath(edge);
            expectFits(QPixmap(":/" + (ratio > 1 ? doubleSizePath(path) : path)), {edge, edge});
        }
    }
}

TEST(SkinPictures, TrackRunsUnderEveryKnobsWholeTravel)
{
    // In every column the knob's grip point passes over, the skin shows the track in the
    // knob's rows: dark, or green where the volume wedge brightens, never the slate panel.
    const auto track = [](QRgb pixel) {
        return qGray(pixel) < 35 || qGreen(pixel) > qRed(pixel) + 15;
    };
    for (const qreal ratio : Ratios) {
        const QImage skin = skinMainPicture(ratio).toImage();
        for (const Skin::SliderTrack &slider :
             {Skin::PositionTrack, Skin::VolumeTrack, Skin::BalanceTrack}) {
            const QRect knob = Skin::rect(slider.knob);
            for (int x = slider.left + slider.grip; x <= slider.right + slider.grip; ++x) {
                SCOPED_TRACE(testing::Message() << Skin::place(slider.knob).name << " column " << x
                                                << " at " << ratio << "x");
                // The column in the picture's pixels, `ratio` wide.
                int count = 0;
                for (int y = knob.top() * ratio; y < knob.bottom() * ratio + ratio; ++y) {
                    for (int column = x * ratio; column < (x + 1) * ratio; ++column)
                        count += track(skin.pixel(column, y));
                }
                EXPECT_GE(count, 3 * ratio * ratio);
            }
        }
    }
}

} // namespace
