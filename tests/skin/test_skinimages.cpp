#include "skin/skinimages.h"

#include <cmath>
#include <utility>

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// Design sizes of the image list, by ranges of 1-based indexes.
QSize designSize(int index)
{
    const struct
    {
        int first;
        int last;
        QSize size;
    } ranges[] = {
        {1, 4, {9, 9}},     {5, 5, {16, 16}},   {6, 7, {14, 11}},   {8, 9, {29, 10}},
        {10, 17, {23, 20}}, {18, 19, {23, 18}}, {20, 21, {22, 16}}, {22, 25, {22, 10}},
        {26, 27, {21, 10}}, {28, 31, {47, 15}}, {32, 35, {28, 15}},
    };
    for (const auto &range : ranges) {
        if (index >= range.first && index <= range.last) {
            return range.size;
        }
    }
    return {};
}

QImage loadImage(const QString &resource)
{
    return QImage(QLatin1String(":/") + resource).convertToFormat(QImage::Format_ARGB32);
}

// Pixels of area (in the image's own pixels) as 32-bit ARGB.
QList<QRgb> pixelsOf(const QImage &image, const QRect &area)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> pixels;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            pixels.append(argb.pixel(x, y));
        }
    }
    return pixels;
}

// Brightness of the visible pixels, 0 to 255, each pixel weighted by its opacity.
double meanGray(const QList<QRgb> &pixels)
{
    double weighted = 0;
    double weights = 0;
    for (QRgb pixel : pixels) {
        weighted += qGray(pixel) * qAlpha(pixel);
        weights += qAlpha(pixel);
    }
    return weights > 0 ? weighted / weights : 0;
}

// Pixels of a lit green lamp: opaque, bright green, little red or blue.
int litPixels(const QImage &image)
{
    int count = 0;
    for (QRgb pixel : pixelsOf(image, image.rect())) {
        count += qAlpha(pixel) > 200 && qGreen(pixel) > 170 && qGreen(pixel) - qRed(pixel) > 60 &&
                 qGreen(pixel) - qBlue(pixel) > 60;
    }
    return count;
}

// Mean difference per channel, 0 to 255, between two images of one size.
double meanDifference(const QImage &first, const QImage &second)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * a.width() * a.height());
}

// Every file the player embeds besides the image list, with its design size.
const struct
{
    QString path;
    QSize size;
} OtherPictures[] = {
    {skinMainPicturePath(), {275, 464}},    {saveListPicturePath(), {22, 18}},
    {applicationIconPath(48), {48, 48}},    {applicationIconPath(128), {128, 128}},
    {applicationIconPath(256), {256, 256}},
};

TEST(SkinPictures, ListPicturesHaveTheirDesignSizeAtBothRatios)
{
    for (int index = 1; index <= SkinPictureCount; ++index) {
        SCOPED_TRACE(index);
        const QSize size = designSize(index);
        const QPixmap normal = skinPicture(index, 1);
        ASSERT_FALSE(normal.isNull());
        EXPECT_EQ(normal.size(), size);
        EXPECT_EQ(normal.devicePixelRatio(), 1);

        // The 2x picture has twice the pixels but paints at the design size.
        const QPixmap doubled = skinPicture(index, 2);
        ASSERT_FALSE(doubled.isNull());
        EXPECT_EQ(doubled.size(), size * 2);
        EXPECT_EQ(doubled.devicePixelRatio(), 2);
        EXPECT_EQ(doubled.deviceIndependentSize(), QSizeF(size));
    }
}

TEST(SkinPictures, OtherPicturesHaveTheirDesignSizeAtBothRatios)
{
    EXPECT_EQ(skinMainPicture(1).size(), QSize(275, 464));
    EXPECT_EQ(skinMainPicture(2).deviceIndependentSize(), QSizeF(275, 464));
    EXPECT_EQ(saveListPicture(1).size(), QSize(22, 18));
    EXPECT_EQ(saveListPicture(2).deviceIndependentSize(), QSizeF(22, 18));
    for (const auto &picture : OtherPictures) {
        SCOPED_TRACE(picture.path.toStdString());
        EXPECT_EQ(loadImage(picture.path).size(), picture.size);
        EXPECT_EQ(loadImage(doubleSizePath(picture.path)).size(), picture.size * 2);
    }
}

TEST(SkinPictures, IndexOutsideTheListGivesNoPicture)
{
    for (int index : {-1, 0, SkinPictureCount + 1}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(skinPicture(index, 1).isNull());
        EXPECT_TRUE(skinPicture(index, 2).isNull());
        EXPECT_TRUE(skinPicturePath(index).isEmpty());
    }
}

TEST(SkinPictures, PressedPictureIsDarkerThanItsNormalOne)
{
    // Each pair of the list is (pressed, normal); picture 5 has no pair.
    for (int pressed : {1, 3, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34}) {
        for (qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << "picture " << pressed << " at " << ratio << "x");
            const QImage down = skinPicture(pressed, ratio).toImage();
            const QImage up = skinPicture(pressed + 1, ratio).toImage();
            EXPECT_NE(down, up);
            EXPECT_LT(meanGray(pixelsOf(down, down.rect())),
                      meanGray(pixelsOf(up, up.rect())) - 10);
        }
    }
}

TEST(SkinPictures, OnPictureOfEachToggleShowsALitLamp)
{
    // (off, on) for the list, random and loop toggles, pressed and normal.
    const std::pair<int, int> toggles[] = {{22, 24}, {23, 25}, {28, 30},
                                           {29, 31}, {32, 34}, {33, 35}};
    for (const auto &[off, on] : toggles) {
        for (qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message()
                         << "pictures " << off << ", " << on << " at " << ratio << "x");
            const QImage offImage = skinPicture(off, ratio).toImage();
            const QImage onImage = skinPicture(on, ratio).toImage();
            EXPECT_NE(offImage, onImage);
            EXPECT_EQ(litPixels(offImage), 0);
            EXPECT_GE(litPixels(onImage), 2 * ratio * ratio);
        }
    }
}

TEST(SkinPictures, DoubleSizePictureIsTheSameArtDrawnFiner)
{
    QStringList paths;
    for (int index = 1; index <= SkinPictureCount; ++index) {
        paths << skinPicturePath(index);
    }
    for (const auto &picture : OtherPictures) {
        paths << picture.path;
    }
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QImage normal = loadImage(path);
        const QImage doubled = loadImage(doubleSizePath(path));
        ASSERT_EQ(doubled.size(), normal.size() * 2);
        // Not the 1x picture enlarged ...
        EXPECT_NE(doubled,
                  normal.scaled(normal.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        // ... but the same drawing in the same place: reduced again, it is closer to its own
        // 1x picture than to any other picture of that size.
        const QImage reduced =
            doubled.scaled(normal.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double own = meanDifference(reduced, normal);
        EXPECT_LT(own, 25);
        for (const QString &other : paths) {
            const QImage otherNormal = loadImage(other);
            if (other != path && otherNormal.size() == normal.size()) {
                EXPECT_LT(own, meanDifference(reduced, otherNormal)) << other.toStdString();
            }
        }
    }
}

TEST(SkinPictures, SkinLeavesTheListAreaBlack)
{
    // The list box lies over 8, 136, 259 x 290 with a black background of its own; no edge
    // or shade of the skin may show inside it.
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage skin = skinMainPicture(ratio).toImage();
        const QRect area(QRectF(8 * ratio, 136 * ratio, 259 * ratio, 290 * ratio).toRect());
        int other = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                other += skin.pixel(x, y) != qRgb(0, 0, 0);
            }
        }
        EXPECT_EQ(other, 0);
        // One pixel further out is the frame, not list.
        EXPECT_NE(skin.pixel(area.topLeft() - QPoint(1, 1)), qRgb(0, 0, 0));
        EXPECT_NE(skin.pixel(area.bottomRight() + QPoint(1, 1)), qRgb(0, 0, 0));
    }
}

// Skin pixels of a rectangle given in design pixels, at the picture's own scale.
QList<QRgb> pixelsIn(const QImage &skin, qreal ratio, const QRect &designRect)
{
    return pixelsOf(skin, QRectF(designRect.x() * ratio, designRect.y() * ratio,
                                 designRect.width() * ratio, designRect.height() * ratio)
                              .toRect());
}

TEST(SkinPictures, DisplayLiesBehindEveryLabel)
{
    // The labels are transparent: their green text needs the dark green display under all
    // of each label's rectangle.
    const struct
    {
        const char *label;
        QRect rect;
    } labels[] = {
        {"LTxtMin", {16, 24, 246, 16}},
        {"LInfo", {104, 40, 158, 12}},
        {"LTime", {16, 48, 40, 18}},
    };
    for (qreal ratio : {1.0, 2.0}) {
        const QImage skin = skinMainPicture(ratio).toImage();
        for (const auto &label : labels) {
            SCOPED_TRACE(testing::Message() << label.label << " at " << ratio << "x");
            int outside = 0;
            for (QRgb pixel : pixelsIn(skin, ratio, label.rect)) {
                outside += qGray(pixel) > 40 || qGreen(pixel) < qRed(pixel) ||
                           qGreen(pixel) < qBlue(pixel);
            }
            EXPECT_EQ(outside, 0);
        }
    }
}

TEST(SkinPictures, TrackRunsUnderEveryKnobsWholeTravel)
{
    // Along a row through each track, from the knob's grip point at its leftmost place to
    // that at its rightmost, the skin shows the track: dark, or green where the volume
    // wedge brightens, never the slate panel.
    const struct
    {
        const char *knob;
        int row;
        int firstGrip;
        int lastGrip;
    } tracks[] = {
        {"ImgSliderP", 76, 17 + 14, 235 + 14},
        {"ImgSliderV", 66, 108 + 7, 158 + 7},
        {"ImgSliderB", 63, 178 + 7, 200 + 7},
    };
    for (qreal ratio : {1.0, 2.0}) {
        const QImage skin = skinMainPicture(ratio).toImage();
        for (const auto &track : tracks) {
            SCOPED_TRACE(testing::Message() << track.knob << " at " << ratio << "x");
            const QRect row(track.firstGrip, track.row, track.lastGrip - track.firstGrip + 1, 1);
            int panel = 0;
            for (QRgb pixel : pixelsIn(skin, ratio, row)) {
                panel += qGray(pixel) >= 35 && qGreen(pixel) <= qRed(pixel) + 15;
            }
            EXPECT_EQ(panel, 0);
        }
    }
}

TEST(SkinPictures, AddAndRemoveKeysArePaintedUnderTheirHotSpots)
{
    // ImgAdd and Image1 have no pictures: the skin's keys must fill their rectangles, with
    // the dark tray right round them.
    const struct
    {
        const char *hotSpot;
        QRect rect;
    } keys[] = {
        {"ImgAdd", {16, 432, 17, 25}},
        {"Image1", {40, 432, 25, 25}},
    };
    for (qreal ratio : {1.0, 2.0}) {
        const QImage skin = skinMainPicture(ratio).toImage();
        for (const auto &key : keys) {
            SCOPED_TRACE(testing::Message() << key.hotSpot << " at " << ratio << "x");
            const QRect outer = key.rect.adjusted(-1, -1, 1, 1);
            EXPECT_GT(meanGray(pixelsIn(skin, ratio, key.rect.adjusted(2, 2, -2, -2))), 140);
            for (const QRect &side : {QRect(outer.topLeft(), QSize(outer.width(), 1)),
                                      QRect(outer.bottomLeft(), QSize(outer.width(), 1)),
                                      QRect(outer.topLeft(), QSize(1, outer.height())),
                                      QRect(outer.topRight(), QSize(1, outer.height()))}) {
                EXPECT_LT(meanGray(pixelsIn(skin, ratio, side)), 45);
            }
        }
    }
}

TEST(SkinPictures, ApplicationIconOffersEverySizeDrawnForIt)
{
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    const struct
    {
        int edge;
        QString file;
    } cases[] = {
        {16, skinPicturePath(5)},
        {48, applicationIconPath(48)},
        {128, applicationIconPath(128)},
        {256, applicationIconPath(256)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edge);
        for (qreal ratio : {1.0, 2.0}) {
            const QString file = ratio > 1 ? doubleSizePath(c.file) : c.file;
            const QImage expected = loadImage(file);
            const QImage shown = icon.pixmap(QSize(c.edge, c.edge), ratio)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(shown.size(), expected.size());
            EXPECT_TRUE(shown == expected) << "not the file drawn for " << ratio << "x";
        }
    }
}

} // namespace
