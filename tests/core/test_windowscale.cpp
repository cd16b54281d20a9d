#include "core/windowplacement.h"

#include <gtest/gtest.h>

namespace {

struct ScaleCase
{
    const char *what;
    QSize available;
    double asked, shown;
};

// The window with its list, 274 x 464 pixels at ratio 1, with pictures at ratios 1 and 2.
TEST(WindowScale, TheWindowTakesTheLargestRatioAtWhichItLiesWholeOnTheScreen)
{
    const ScaleCase cases[] = {
        {"200 % on 1280 x 800: 928 pixels are too high", {1280, 800}, 2, 1},
        {"200 % where the free area is just high enough", {1280, 928}, 2, 2},
        {"300 % on 1920 x 1080 comes down to 200 %", {1920, 1080}, 3, 2},
        {"150 % that fits stays", {1920, 1080}, 1.5, 1.5},
        {"too small for any: as small as the skin can be", {500, 400}, 2, 1},
        {"nothing smaller to take", {800, 300}, 0.75, 0.75},
    };
    for (const ScaleCase &entry : cases)
        EXPECT_DOUBLE_EQ(fittingPixelRatio({274, 464}, entry.available, entry.asked, {1, 2}),
                         entry.shown)
            << entry.what;
}

// The same window on the free area of a 1280 x 800 screen under a 32-pixel top panel.
TEST(WindowScale, AWindowThatStandsOffItsScreenComesBackWhole)
{
    const QRect available(0, 32, 1280, 768);
    const QList<std::pair<QPoint, QPoint>> places{
        {{100, 200}, {100, 200}},  {{100, 700}, {100, 336}}, {{100, 10}, {100, 32}},
        {{1200, 100}, {1006, 100}}, {{-200, 100}, {0, 100}},
    };
    for (const auto &[place, whole] : places)
        EXPECT_EQ(placeWhole(QRect(place, QSize(274, 464)), available), whole);
    EXPECT_EQ(placeWhole(QRect(50, 300, 274, 464), QRect(0, 0, 1024, 400)), QPoint(50, 0))
        << "higher than the screen: its top edge on the screen's";
}

} // namespace
