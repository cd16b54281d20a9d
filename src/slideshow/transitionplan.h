#pragma once

#include <random>

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The five transitions that bring a new slideshow picture onto the screen. Each cuts the
// picture into a grid of cells (see PictureGrid) and paints the cells one step at a time,
// waiting EffectDelay(delayCount) before every step, the first one included; they differ
// in the grid and in the order of the steps. A plan is only the order: the painter that
// carries it out lives with the window.
//
// The functions are pure: the same size, arguments and generator state give the same plan.

// One piece of a step: the cell `cell` of the new picture, the rectangle `source` of it,
// painted unscaled with its top-left corner at `target` on the screen. Every piece lands
// where it lies in the picture, so `target` is `source`'s top-left corner.
struct TransitionPiece
{
    int cell = 0;
    QRect source;
    QPoint target;

    bool operator==(const TransitionPiece &) const = default;
};

struct TransitionPlan
{
    // The delay count waited before every step.
    int delayCount = 0;
    // The pieces painted at each step, in order.
    QList<QList<TransitionPiece>> steps;
};

// The number of transitions; ShowPicture numbers them 0 to EffectCount - 1.
constexpr int EffectCount = 5;

// The next number of `generator` in [0, 1).
double nextUnitRandom(std::mt19937 &generator);

// Effect 0: `n` vertical strips from left to right.
TransitionPlan WipeColumns(QSize picture, int delay, int n);
// Effect 1: `n` horizontal strips from top to bottom.
TransitionPlan WipeRows(QSize picture, int delay, int n);
// Effect 2: `n` vertical strips from the two middle ones out to both edges, two per step
// (with an odd `n` the middle strip comes alone first).
TransitionPlan SplitColumns(QSize picture, int delay, int n);
// Effect 3: venetian blinds, `a` bands of `b` rows each: pass j paints the j-th row of
// every band, top band first.
TransitionPlan BlindRows(QSize picture, int delay, int a, int b);
// Effect 4: a grid of `a` columns and `b` rows painted block by block in an order shuffled
// by drawing with rejection: each block number is nearest(r * 342) mod (a * b), drawn
// again while it has been drawn before. 342 is fixed, not derived from the block count;
// only a grid of more than 343 blocks, which 342 could not reach, draws from
// nearest(r * (a * b - 1)) instead.
TransitionPlan RandomBlocks(QSize picture, int delay, int a, int b, std::mt19937 &generator);

// Effect `effect` (0 to 4) with the delay count and grid the slideshow uses.
TransitionPlan planEffect(int effect, QSize picture, std::mt19937 &generator);
