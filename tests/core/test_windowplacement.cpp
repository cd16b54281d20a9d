#include "core/windowplacement.h"

#include <gtest/gtest.h>

namespace {

// A window saved on a screen that is gone is the main window's test; a drag that follows the
// pointer and snaps to the left edge from inside, scale 2 on a small screen and a window saved
// below the bottom edge are the whole-program window test's (test_skin_window.sh).
TEST(WindowPlacement, KeepsPositionsOnAScreenAndRescuesLostOnes)
{
    const QRect primary(0, 0, 1920, 1080);
    const QRect leftScreen(-1280, 0, 1280, 1024);
    const QList<QRect> both{primary, leftScreen};
    // The saved place, the screens, and where the window comes.
    const QList<std::tuple<QPoint, QList<QRect>, QPoint>> cases{
        {{-1000, 40}, both, {-1000, 40}},    // on the screen left of the primary
        {{-200, -5}, {primary}, {-200, -5}}, // partly off the edge, strip still on
        {{-274, 100}, {primary}, {0, 0}},    // wholly off the left edge
        {{100, 1080}, {primary}, {0, 0}},    // below the screen
        {{3000, 3000}, {}, {0, 0}},          // no screen reported at all
    };
    for (const auto &[saved, screens, expected] : cases)
        EXPECT_EQ(placeOnScreens(saved, 274, 16, screens, primary), expected)
            << saved.x() << "," << saved.y();
    EXPECT_EQ(placeOnScreens({5000, 50}, 274, 16, {primary}, QRect(10, 20, 800, 600)),
              QPoint(10, 20))
        << "a lost window goes to the primary screen's corner, wherever that is";
}

TEST(WindowPlacement, DragWindowFollowsThePointerAndSnaps)
{
    // On a 1024 x 768 screen at 15 twips per pixel, where the window may lie at 750 at most:
    // the place, the pointer's offset and the place that follows.
    const QList<std::tuple<const char *, QPoint, QPoint, QPoint>> cases{
        {"one pixel is no move", {100, 100}, {1, -1}, {100, 100}},
        {"on the left edge, held within the snap distance", {0, 100}, {12, 0}, {0, 100}},
        {"and pulled off beyond it", {0, 100}, {13, 0}, {13, 100}},
        {"snaps back from beyond the left edge", {5, 100}, {-10, 0}, {0, 100}},
        {"snaps to the right edge", {730, 100}, {9, 0}, {750, 100}},
        {"on the right edge, held", {750, 100}, {-12, 0}, {750, 100}},
        {"on the top edge, held when pulled down a little", {100, 0}, {0, 12}, {100, 0}},
        {"and when pulled up", {100, 0}, {0, -50}, {100, 0}},
        {"pulled down further", {100, 0}, {0, 13}, {100, 13}},
        {"snaps to the top edge", {100, 50}, {0, -39}, {100, 0}},
        {"not to the bottom edge", {100, 600}, {0, 50}, {100, 650}},
    };
    // A window of 274 x 116 at `place` on `screen`, dragged at `twips` per pixel, snapping
    // within 12 pixels; in pixels.
    const auto drag = [](QPoint place, QPoint offset, double twips = 15,
                         QRect screen = QRect(0, 0, 1024, 768)) {
        const auto scaled = [twips](const QRect &rect) {
            return QRectF(QPointF(rect.topLeft()) * twips, QSizeF(rect.size()) * twips);
        };
        return dragWindowPlace(scaled(QRect(place, QSize(274, 116))), scaled(screen), offset,
                               {twips, twips}, 12 * twips) /
               twips;
    };
    for (const auto &[what, place, offset, expected] : cases)
        EXPECT_EQ(drag(place, offset), QPointF(expected)) << what;
    EXPECT_EQ(drag({1030, 40}, {-3, 0}, 15, {1024, 0, 1280, 1024}), QPointF(1024, 40))
        << "on a screen right of the first, its own edges count";
    // At 192 dots per inch a pixel is 7.5 twips and the snap distance 90 twips.
    EXPECT_EQ(drag({20, 100}, {-9, 0}, twipsPerPixel(192)), QPointF(0, 100));
    EXPECT_DOUBLE_EQ(twipsPerPixel(0), 15) << "a screen that reports nothing";
}

struct ScaleCase
{
    const char *what;
    QSize available;
    double asked, shown;
};

// The window with its list, 274 x 464 pixels at ratio 1, with pictures at ratios 1 and 2.
TEST(WindowPlacement, TheWindowTakesTheLargestRatioAtWhichItLiesWholeOnTheScreen)
{
    const ScaleCase cases[] = {
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
    // On the free area of a 1280 x 800 screen under a 32-pixel top panel, the window at a
    // place and where it comes to lie whole.
    const QList<std::pair<QPoint, QPoint>> places{{{100, 200}, {100, 200}},
                                                  {{100, 10}, {100, 32}},
                                                  {{1200, 100}, {1006, 100}},
                                                  {{-200, 100}, {0, 100}}};
    for (const auto &[place, whole] : places)
        EXPECT_EQ(placeWhole(QRect(place, QSize(274, 464)), QRect(0, 32, 1280, 768)), whole);
    EXPECT_EQ(placeWhole(QRect(50, 300, 274, 464), QRect(0, 0, 1024, 400)), QPoint(50, 0))
        << "higher than the screen: its top edge on the screen's";
}

} // namespace
