#include <algorithm>

#include <QRegion>

#include <gtest/gtest.h>

#include "slideshow/transitionplan.h"

namespace {

QList<int> cellsOf(const TransitionPlan &plan, qsizetype first, qsizetype count)
{
    QList<int> cells;
    for (qsizetype step = first; step < first + count; ++step) {
        for (const TransitionPiece &piece : plan.steps.at(step))
            cells.append(piece.cell);
    }
    return cells;
}

TEST(TransitionPlanTest, EveryCellIsPaintedOnceAtItsOwnPlaceAndTheWholePictureIsCovered)
{
    std::mt19937 generator(7);
    // 1021 x 767 leaves strips over at the right and bottom; 7 x 5 is smaller than the grid.
    const QSize odd(1021, 767), tiny(7, 5);
    const struct
    {
        TransitionPlan plan;
        QSize picture;
        int cells;
        qsizetype steps;
    } cases[] = {
        {planEffect(0, odd, generator), odd, 100, 100},
        {planEffect(1, odd, generator), odd, 100, 100},
        {planEffect(2, odd, generator), odd, 100, 50},
        {SplitColumns(odd, 500, 5), odd, 5, 3},
        {planEffect(3, odd, generator), odd, 100, 100},
        {planEffect(4, odd, generator), odd, 100, 100},
        {planEffect(4, tiny, generator), tiny, 100, 100},
    };
    int number = 0;
    for (const auto &[plan, picture, cells, steps] : cases) {
        SCOPED_TRACE(testing::Message() << "case " << number++);
        EXPECT_EQ(plan.steps.size(), steps);
        QList<int> painted(cells, 0);
        QRegion covered;
        qint64 area = 0;
        for (const QList<TransitionPiece> &step : plan.steps) {
            for (const TransitionPiece &piece : step) {
                ++painted[piece.cell];
                EXPECT_EQ(piece.target, piece.source.topLeft()) << "cell " << piece.cell;
                covered += piece.source;
                area += qint64(piece.source.width()) * piece.source.height();
            }
        }
        EXPECT_EQ(painted, QList<int>(cells, 1));
        EXPECT_EQ(covered, QRegion(QRect(QPoint(), picture)));
        EXPECT_EQ(area, qint64(picture.width()) * picture.height()) << "pieces overlap";
    }
}

TEST(TransitionPlanTest, StepsComeInTheEffectsOrder)
{
    // Cells of 10 x 7 pixels in a 100-strip grid, 100 x 70 in a 10 x 10 one.
    const QSize picture(1000, 700);
    const TransitionPlan blinds = BlindRows(picture, 200, 10, 10);
    const struct
    {
        TransitionPlan plan;
        qsizetype first, count; // the steps looked at
        QList<int> cells;       // their cells in order
        QPoint firstTarget;     // where the first piece goes
    } cases[] = {
        {WipeColumns(picture, 400, 100), 99, 1, {99}, {990, 0}},
        {WipeRows(picture, 400, 100), 42, 1, {42}, {0, 294}},
        {SplitColumns(picture, 500, 100), 0, 1, {50, 49}, {500, 0}},
        {SplitColumns(QSize(50, 10), 500, 5), 0, 3, {2, 3, 1, 4, 0}, {20, 0}},
        {blinds, 0, 10, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, {0, 0}},
        {blinds, 90, 10, {9, 19, 29, 39, 49, 59, 69, 79, 89, 99}, {0, 63}},
    };
    for (const auto &[plan, first, count, cells, firstTarget] : cases) {
        EXPECT_EQ(cellsOf(plan, first, count), cells) << "step " << first;
        EXPECT_EQ(plan.steps.at(first).first().target, firstTarget) << "step " << first;
    }

    // Blocks come in a random order; that each lands at its own place is the table above.
    std::mt19937 generator(42);
    const TransitionPlan blocks = RandomBlocks(picture, 100, 10, 10, generator);
    const QList<int> order = cellsOf(blocks, 0, blocks.steps.size());
    EXPECT_FALSE(std::is_sorted(order.cbegin(), order.cend()));
}

} // namespace
