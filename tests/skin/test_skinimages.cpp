#include "skin/skinimages.h"

#include <cmath>
#include <functional>
#include <utility>

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "core/skinlayout.h"

namespace {

using Skin::Control;

const qreal Ratios[] = {1.0, 2.0};

// The control that shows each picture of the image list, so the picture must be its size.
Control controlShowing(int index)
{
    const struct
    {
        int last;
        Control control;
    } ranges[] = {
        {2, Control::ImgClose},     {4, Control::ImgMin},       {5, Control::ImgIcon},
        {7, Control::ImgSliderV},   {9, Control::ImgSliderP},   {17, Control::ImgPlaySong},
        {19, Control::ImgStopSong}, {21, Control::ImgOpenSong}, {25, Control::ImgShowList},
        {27, Control::ImgFullscr},  {31, Control::ImgRandom},   {35, Control::ImgLoop},
    };
    for (const auto &range : ranges) {
        if (index <= range.last) {
            return range.control;
        }
    }
    return Control::ImgLoop;
}

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage resource(const QString &path)
{
    return argb(QImage(QLatin1String(":/") + path));
}

// A rectangle of design pixels in the pixels of a picture drawn at ratio.
QRect atRatio(const QRect &design, qreal ratio)
{
    return {design.topLeft() * ratio, design.size() * ratio};
}

int countIn(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &matches)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += matches(image.pixel(x, y));
        }
    }
    return count;
}

// Brightness of the visible pixels of area, 0 to 255, each pixel weighted by its opacity.
double meanGray(const QImage &image, const QRect &area)
{
    double weighted = 0;
    double weights = 0;
    countIn(image, area, [&](QRgb pixel) {
        weighted += qGray(pixel) * qAlpha(pixel);
        weights += qAlpha(pixel);
        return false;
    });
    return weights > 0 ? weighted / weights : 0;
}

// Mean difference per channel, 0 to 255, between two ARGB32 images of one size.
double meanDifference(const QImage &first, const QImage &second)
{
    double sum = 0;
    for (qsizetype at = 0; at < first.sizeInBytes(); ++at) {
        sum += std::abs(first.constBits()[at] - second.constBits()[at]);
    }
    return sum / double(first.sizeInBytes());
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
        expectFits(saveListPicture(ratio), Skin::rect(Control::ImgPlaylist).size());
        for (int index = 1; index <= SkinPictureCount; ++index) {
            SCOPED_TRACE(index);
            expectFits(skinPicture(index, ratio), Skin::rect(controlShowing(index)).size());
        }
        EXPECT_TRUE(skinPicture(0, ratio).isNull());
        EXPECT_TRUE(skinPicture(SkinPictureCount + 1, ratio).isNull());
    }
}

TEST(SkinPictures, PressedPictureIsDarkerAndOnPictureShowsALitLamp)
{
    const auto lit = [](QRgb pixel) {
        return qAlpha(pixel) > 200 && qGreen(pixel) > 170 && qGreen(pixel) - qRed(pixel) > 60 &&
               qGreen(pixel) - qBlue(pixel) > 60;
    };
    for (const qreal ratio : Ratios) {
        // Pairs are (pressed, normal); picture 5, the window icon, has none.
        for (int pressed = 1; pressed < SkinPictureCount; pressed += pressed == 3 ? 3 : 2) {
            SCOPED_TRACE(testing::Message() << "picture " << pressed << " at " << ratio << "x");
            const QImage down = argb(skinPicture(pressed, ratio).toImage());
            const QImage up = argb(skinPicture(pressed + 1, ratio).toImage());
            EXPECT_LT(meanGray(down, down.rect()), meanGray(up, up.rect()) - 10);
        }
        // The list, random and loop toggles: an off pair, then an on pair.
        for (const int off : {22, 23, 28, 29, 32, 33}) {
            SCOPED_TRACE(testing::Message() << "picture " << off << " at " << ratio << "x");
            const QImage offImage = argb(skinPicture(off, ratio).toImage());
            const QImage onImage = argb(skinPicture(off + 2, ratio).toImage());
            EXPECT_EQ(countIn(offImage, offImage.rect(), lit), 0);
            EXPECT_GE(countIn(onImage, onImage.rect(), lit), 2 * ratio * ratio);
        }
    }
}

TEST(SkinPictures, DoubleSizePictureIsTheSameArtDrawnFiner)
{
    QStringList paths{skinMainPicturePath(), saveListPicturePath()};
    for (int index = 1; index <= SkinPictureCount; ++index) {
        paths << skinPicturePath(index);
    }
    for (const int edge : applicationIconSizes()) {
        paths << applicationIconPath(edge);
    }
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QImage normal = resource(path);
        const QImage doubled = resource(doubleSizePath(path));
        ASSERT_EQ(doubled.size(), normal.size() * 2);
        // Not the 1x picture enlarged, but the same drawing in the same place.
        EXPECT_NE(doubled, normal.scaled(doubled.size()));
        EXPECT_LT(meanDifference(argb(doubled.scaled(normal.size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation)),
                                 normal),
                  25);
    }
}

TEST(SkinPictures, SkinShowsTheListBlackAndTheDisplayBehindEveryLabel)
{
    const auto black = [](QRgb pixel) { return pixel == qRgb(0, 0, 0); };
    // The labels are transparent: their green text needs the dark green display.
    const auto display = [](QRgb pixel) {
        return qGray(pixel) <= 40 && qGreen(pixel) >= qRed(pixel) && qGreen(pixel) >= qBlue(pixel);
    };
    const struct
    {
        Control control;
        std::function<bool(QRgb)> matches;
    } areas[] = {
        {Control::ListSong, black},
        {Control::LTxtMin, display},
        {Control::LInfo, display},
        {Control::LTime, display},
    };
    for (const qreal ratio : Ratios) {
        const QImage skin = argb(skinMainPicture(ratio).toImage());
        for (const auto &area : areas) {
            SCOPED_TRACE(testing::Message()
                         << Skin::place(area.control).name << " at " << ratio << "x");
            const QRect rect = atRatio(Skin::rect(area.control), ratio);
            EXPECT_EQ(countIn(skin, rect, area.matches), rect.width() * rect.height());
        }
        // One pixel further out than the list is the frame, not list.
        const QRect list = atRatio(Skin::rect(Control::ListSong), ratio);
        EXPECT_FALSE(black(skin.pixel(list.topLeft() - QPoint(1, 1))));
        EXPECT_FALSE(black(skin.pixel(list.bottomRight() + QPoint(1, 1))));
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
        const QImage skin = argb(skinMainPicture(ratio).toImage());
        for (const Skin::SliderTrack &slider :
             {Skin::PositionTrack, Skin::VolumeTrack, Skin::BalanceTrack}) {
            const QRect knob = Skin::rect(slider.knob);
            for (int x = slider.left + slider.grip; x <= slider.right + slider.grip; ++x) {
                SCOPED_TRACE(testing::Message() << Skin::place(slider.knob).name << " column " << x
                                                << " at " << ratio << "x");
                const QRect column = atRatio(QRect(x, knob.top(), 1, knob.height()), ratio);
                EXPECT_GE(countIn(skin, column, track), 3 * ratio * ratio);
            }
        }
    }
}

TEST(SkinPictures, AddAndRemoveKeysArePaintedUnderTheirHotSpots)
{
    // ImgAdd and Image1 have no pictures: the skin's keys fill their rectangles, with the
    // dark tray right round them.
    for (const qreal ratio : Ratios) {
        const QImage skin = argb(skinMainPicture(ratio).toImage());
        for (const Control key : {Control::ImgAdd, Control::Image1}) {
            SCOPED_TRACE(testing::Message() << Skin::place(key).name << " at " << ratio << "x");
            const QRect rect = Skin::rect(key);
            EXPECT_GT(meanGray(skin, atRatio(rect.adjusted(2, 2, -2, -2), ratio)), 140);
            const QRect outer = rect.adjusted(-1, -1, 1, 1);
            for (const QRect &side : {QRect(outer.topLeft(), QSize(outer.width(), 1)),
                                      QRect(outer.bottomLeft(), QSize(outer.width(), 1)),
                                      QRect(outer.topLeft(), QSize(1, outer.height())),
                                      QRect(outer.topRight(), QSize(1, outer.height()))}) {
                EXPECT_LT(meanGray(skin, atRatio(side, ratio)), 45);
            }
        }
    }
}

TEST(SkinPictures, ApplicationIconOffersEverySizeDrawnForIt)
{
    const QIcon icon = applicationIcon();
    QList<std::pair<int, QString>> files{{16, skinPicturePath(5)}};
    for (const int edge : applicationIconSizes()) {
        files.append({edge, applicationIconPath(edge)});
    }
    for (const auto &[edge, file] : files) {
        for (const qreal ratio : Ratios) {
            SCOPED_TRACE(testing::Message() << edge << " at " << ratio << "x");
            const QImage shown = argb(icon.pixmap(QSize(edge, edge), ratio).toImage());
            EXPECT_EQ(shown.size(), QSize(edge, edge) * ratio);
            EXPECT_TRUE(shown == resource(ratio > 1 ? doubleSizePath(file) : file));
        }
    }
}

} // namespace
