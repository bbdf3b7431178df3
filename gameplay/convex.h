// The exact collision test: do the convex hulls of two point sets, each placed in the
// world, intersect? Distance of Gilbert, Johnson and Keerthi; touching counts.
#pragma once

#include <cstdint>

struct ModelHull;

// One test between two hulls, with what it learnt for the next call on the same pair.
struct ConvexQuery {
    const ModelHull* hullA = nullptr;
    const ModelHull* hullB = nullptr;
    // 1 when the witness points describe a separating plane from an earlier call.
    int32_t cachedSeparation = 0;
    double witnessA[3] = {};  // closest point of A, minus A's translation
    double witnessB[3] = {};  // closest point of B, minus A's translation
    int32_t simplexPairs[4][2] = {};  // (index in A, index in B) of each support point
    int32_t simplexSize = 0;          // 0: no simplex yet
};

// A fresh test of a against b.
ConvexQuery MakeConvexQuery(const ModelHull& a, const ModelHull& b);

// True when the hulls at their translations are less than 1e-5 apart.
bool HullsIntersect(ConvexQuery& query);
