// SPDX-License-Identifier: GPL-3.0-or-later
// A distance given by its square compared with a bound, with the square root taken only
// where the comparison needs it.
#pragma once

#include <cfloat>
#include <cmath>

// Exactly std::sqrt(squared) >= bound, in single precision. The bound's square is exact
// in double; a square at or above it has a root at or above the bound, and a square more
// than a millionth below it a root that rounds below the bound, so only the thin band
// between them, or a bound that is not a positive normal number, takes the root.
inline bool RootAtLeast(float squared, float bound)
{
    if (bound >= FLT_MIN && bound <= FLT_MAX) {
        const double b2 = static_cast<double>(bound) * static_cast<double>(bound);
        const double s = squared;
        if (s >= b2)
            return true;
        if (s < b2 * (1.0 - 0x1p-20))
            return false;
    }
    return std::sqrt(squared) >= bound;
}
