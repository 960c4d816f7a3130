#pragma once
#include <cmath>

// One channel of the blend written plainly from the formula, in double arithmetic, with
// the rounding to even done by hand rather than by the library: the reference the fast
// blend is checked against.
inline int ReferenceChannel(int background, int foreground, int rate)
{
    const double value = (double(background) / 100.0) * double(100 - rate) +
                         (double(foreground) / 100.0) * double(rate);
    const double below = std::floor(value), fraction = value - below;
    return int(below) + (fraction > 0.5 || (fraction == 0.5 && int(below) % 2 == 1) ? 1 : 0);
}
