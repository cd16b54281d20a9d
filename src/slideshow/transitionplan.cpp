#include "slideshow/transitionplan.h"

#include <algorithm>

#include "core/rounding.h"
#include "slideshow/picturegrid.h"

namespace {

// The constant of RandomBlocks's draws.
constexpr int BlockDrawSpan = 342;

TransitionPiece piece(const PictureGrid &grid, int cell)
{
    const QRect source = grid.cell(cell);
    return {cell, source, source.topLeft()};
}

} // namespace

double nextUnitRandom(std::mt19937 &generator)
{
    static_assert(std::mt19937::min() == 0 && std::mt19937::max() == 0xffffffffu);
    return double(generator()) / 4294967296.0;
}

TransitionPlan WipeColumns(QSize picture, int delay, int n)
{
    const PictureGrid grid(picture, n, 1);
    TransitionPlan plan{delay, {}};
    for (int i = 0; i < grid.columns(); ++i)
        plan.steps.append({piece(grid, i)});
    return plan;
}

TransitionPlan WipeRows(QSize picture, int delay, int n)
{
    const PictureGrid grid(picture, 1, n);
    TransitionPlan plan{delay, {}};
    for (int i = 0; i < grid.rows(); ++i)
        plan.steps.append({piece(grid, i)});
    return plan;
}

TransitionPlan SplitColumns(QSize picture, int delay, int n)
{
    const PictureGrid grid(picture, n, 1);
    const int columns = grid.columns();
    TransitionPlan plan{delay, {}};
    // The right-hand strip of each pair first, then the left-hand one.
    for (int right = columns / 2, left = (columns - 1) / 2; left >= 0; ++right, --left) {
        QList<TransitionPiece> step{piece(grid, right)};
        if (left != right)
            step.append(piece(grid, left));
        plan.steps.append(step);
    }
    return plan;
}

TransitionPlan BlindRows(QSize picture, int delay, int a, int b)
{
    a = std::max(a, 1);
    b = std::max(b, 1);
    const PictureGrid grid(picture, 1, a * b);
    TransitionPlan plan{delay, {}};
    for (int pass = 0; pass < b; ++pass) {
        for (int band = 0; band < a; ++band) {
            const int row = b * band + pass;
            plan.steps.append({piece(grid, row)});
        }
    }
    return plan;
}

TransitionPlan RandomBlocks(QSize picture, int delay, int a, int b, std::mt19937 &generator)
{
    const PictureGrid grid(picture, a, b);
    const int blocks = grid.count();
    const int span = std::max(BlockDrawSpan, blocks - 1);
    // Redrawing while the number is taken gives the same order, from the same draws, as
    // comparing each draw with every earlier entry and starting over on a match.
    QList<bool> taken(blocks, false);
    QList<int> order;
    order.reserve(blocks);
    while (order.size() < blocks) {
        const int block = int(roundHalfEven(nextUnitRandom(generator) * span) % blocks);
        if (taken[block])
            continue;
        taken[block] = true;
        order.append(block);
    }
    TransitionPlan plan{delay, {}};
    for (const int k : order)
        plan.steps.append({piece(grid, k)});
    return plan;
}

TransitionPlan planEffect(int effect, QSize picture, std::mt19937 &generator)
{
    switch (effect) {
    case 1:
        return WipeRows(picture, 400, 100);
    case 2:
        return SplitColumns(picture, 500, 100);
    case 3:
        return BlindRows(picture, 200, 10, 10);
    case 4:
        return RandomBlocks(picture, 100, 10, 10, generator);
    default:
        return WipeColumns(picture, 400, 100);
    }
}
