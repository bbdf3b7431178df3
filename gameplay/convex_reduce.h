// SPDX-License-Identifier: GPL-3.0-or-later
// What the distance loop of the exact collision test takes from the reduction: the
// step's simplex reduced in place, and the dot product both halves compute alike.
#pragma once

#include <cstdint>

#include "gameplay/convex.h"

inline double ConvexDot(const double a[3], const double b[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// ConvexReduce on the simplex y (k = 2, 3 or 4 points) with the pairs of its points:
// on success the kept points and their pairs stand at the front in their order; on a
// breakdown (false) nothing moves.
bool ConvexReduceInPlace(double y[4][3], int32_t pairs[4][2], int32_t k, ConvexReduction& out, bool scaled);
