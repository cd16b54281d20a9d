#include "core/windowplacement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, KeepsPositionsOnAScreenAndRescuesLostOnes)
{
    const QRect primary(0, 0, 1920, 1080);
    const QRect leftScreen(-1280, 0, 1280, 1024);
    const QList<QRect> both{primary, leftScreen};
    struct Case
    {
        QPoint saved;
        QList<QRect> screens;
        QPoint expected;
    };
    const QList<Case> cases{
        {{100, 200}, both, {100, 200}},
        {{-1000, 40}, both, {-1000, 40}},    // on the screen left of the primary
        {{-1000, 40}, {primary}, {0, 0}},    // that screen is gone
        {{-200, -5}, {primary}, {-200, -5}}, // partly off the edge, strip still on
        {{-274, 100}, {primary}, {0, 0}},    // wholly off the left edge
        {{100, 1080}, {primary}, {0, 0}},    // below the screen
        {{3000, 3000}, {}, {0, 0}},          // no screen reported at all
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeOnScreens(c.saved, 274, 16, c.screens, primary), c.expected)
            << c.saved.x() << "," << c.saved.y();
    EXPECT_EQ(placeOnScreens({50, 50}, 274, 16, {primary}, QRect(10, 20, 800, 600)),
              QPoint(50, 50));
    EXPECT_EQ(placeOnScreens({5000, 50}, 274, 16, {primary}, QRect(10, 20, 800, 600)),
              QPoint(10, 20));
}

TEST(WindowPlacement, TwipsFollowTheScreensDotsPerInch)
{
    EXPECT_DOUBLE_EQ(twipsPerPixel(96), 15);
    EXPECT_DOUBLE_EQ(twipsPerPixel(192), 7.5);
    EXPECT_DOUBLE_EQ(twipsPerPixel(0), 15) << "a screen that reports nothing";
}

} // namespace
