#include <gtest/gtest.h>

#include "slideshow/picshow.h"
#include "slideshow/transitionplan.h"

namespace {

// The ticks through a list and around its end are the slideshow's tests; a saved place
// beyond a list that became shorter starts it over, and an empty list shows nothing.
TEST(PicShowTest, TicksStartOverPastTheEndOfTheList)
{
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

// A half pixel goes to the even place, neither up nor towards zero. Even
// margins are the whole-program slideshow test's.
TEST(PicShowTest, PicturesAreCentredHalvesToEven)
{
    const QList<std::pair<QSize, QPoint>> cases{{{803, 601}, {110, 84}}, {{1027, 771}, {-2, -2}}};
    for (const auto &[picture, at] : cases)
        EXPECT_EQ(centredPosition(QSize(1024, 768), picture), at) << picture.width();
}

} // namespace
