#include <gtest/gtest.h>

#include "slideshow/picshow.h"
#include "slideshow/transitionplan.h"

namespace {

TEST(PicShowTest, TicksGoThroughTheListAndWrapAround)
{
    // From the first entry, which a loaded list selects, the first tick shows the second
    // (the whole-program slideshow test relies on it); the last wraps around to the first.
    EXPECT_EQ(nextPictureIndex(3, 0), 1);
    EXPECT_EQ(nextPictureIndex(3, 2), 0);
    EXPECT_EQ(nextPictureIndex(3, 7), 0);
    EXPECT_EQ(nextPictureIndex(0, -1), -1);
}

TEST(PicShowTest, TheEffectFollowsTheTimeOfDay)
{
    std::mt19937 generator(5);
    QList<int> atNoon(EffectCount, 0);
    for (int draw = 0; draw < 200; ++draw) {
        EXPECT_EQ(chooseEffect(0.0F, generator), 0) << "midnight";
        ++atNoon[chooseEffect(43200.5F, generator)];
    }
    EXPECT_FALSE(atNoon.contains(0)) << "at noon every effect comes up";
}

TEST(PicShowTest, PicturesAreCentredHalvesToEven)
{
    const QList<std::pair<QSize, QPoint>> cases{{{801, 600}, {112, 84}},
                                                {{803, 601}, {110, 84}},
                                                {{1025, 769}, {0, 0}},
                                                {{1027, 771}, {-2, -2}}};
    for (const auto &[picture, at] : cases)
        EXPECT_EQ(centredPosition(QSize(1024, 768), picture), at) << picture.width();
}

} // namespace
