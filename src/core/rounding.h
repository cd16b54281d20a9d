#pragma once

#include <cmath>

// Whole numbers are reached by rounding halves to the even neighbour (2.5 gives 2, 3.5
// gives 4): the rounding of the floating-point environment, which nothing here changes.
inline long roundHalfEven(double value)
{
    return std::lrint(value);
}
