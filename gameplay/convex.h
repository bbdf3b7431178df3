// SPDX-License-Identifier: GPL-3.0-or-later
// The exact collision test: do the convex hulls of two point sets, each placed in the
// world, intersect? Distance of Gilbert, Johnson and Keerthi; touching counts.
#pragma once

#include <cstdint>

struct ModelHull;

// Hulls closer than this touch.
constexpr double kConvexTouch = 1e-5;

// One test between two hulls, with what it learnt for the next call on the same pair.
// The witness points mean something only while cachedSeparation is 1, and the simplex
// pairs only up to simplexSize; MakeConvexQuery leaves them unset.
struct ConvexQuery {
    const ModelHull* hullA;
    const ModelHull* hullB;
    // 1 when the witness points describe a separating plane from an earlier call.
    int32_t cachedSeparation;
    double witnessA[3];  // closest point of A, minus A's translation
    double witnessB[3];  // closest point of B, minus A's translation
    int32_t simplexPairs[4][2];  // (index in A, index in B) of each support point
    int32_t simplexSize;         // 0: no simplex yet
};

// A fresh test of a against b. Only what a fresh test reads is set: clearing the whole
// record costs a string store whose bytes the test then has to wait for.
inline ConvexQuery MakeConvexQuery(const ModelHull& a, const ModelHull& b)
{
    ConvexQuery q;
    q.hullA = &a;
    q.hullB = &b;
    q.cachedSeparation = 0;
    q.simplexSize = 0;
    return q;
}

// True when the hulls at their translations are less than kConvexTouch apart. While the
// record holds a separating plane that still separates, the answer costs one pass over
// B's vertices. A hull without vertices touches nothing. Hulls whose numbers break down
// (not finite) count as touching, so a move to such a place is refused.
bool HullsIntersect(ConvexQuery& query);

// The full distance run on the record's hulls (no cached plane): true when they are
// kConvexTouch or more apart, with the witness points stored. Always writes the final
// simplex back.
bool HullsSeparated(ConvexQuery& query);

// The pieces, for any point sets (the hulls above hold at most 8 points).

// The point of points[0 .. count-1] with the largest dot product with d (the first of
// equal ones), its index, and that value in single precision. count must be 1 or more.
float ConvexSupport(const double (*points)[3], int32_t count, const double d[3], int32_t& index);

// Johnson's reduction of the simplex y[0 .. k-1] (k = 2, 3 or 4) to the subset whose
// hull holds the point closest to the origin: the positions it keeps (in order), their
// weights and that point v. A subset passes while no grown determinant exceeds
// kConvexTouch, or, scaled, kConvexScaledBound times its own determinant and the largest
// |y|². Falls back to a search over every subset when none passes, and returns false,
// with nothing written, when that finds none either.
constexpr double kConvexScaledBound = 1e-10;
struct ConvexReduction {
    int32_t kept[4];
    int32_t keptCount;
    double lambda[4];
    double v[3];
};
bool ConvexReduce(const double y[4][3], int32_t k, ConvexReduction& out, bool scaled = false);

// Why the distance routine stopped.
enum class ConvexStop : int32_t {
    Converged,  // v is within the bound of the support in −v: the routine's own end
    Flat,       // four points kept but v is not 0: they lie in a plane; v is the one before
    Stuck,      // went round without converging, even with the scaled subset test
    Cap,        // kConvexMaxIterations
    Breakdown,  // the reduction found no subset; v is the one before
};

// What the distance routine found: the closest point v of the hull of A − B to the origin,
// as weights of the final simplex.
// ConvexClosest clears it, then fills it.
struct ConvexDistance {
    double v[3];
    double lambda[4];
    int32_t pairs[4][2];  // (index in A, index in B) of each point of the simplex
    int32_t size;         // 1 to 4
    int32_t iterations;
    bool strict;  // went round with the fixed subset bound, went on with the scaled one
    ConvexStop stop;
};

// The closest point of the hull of a − b to the origin. A given simplex (size 1 to 4 with
// indices inside the sets) is the start; anything else starts from (a[0], b[0]). Returns
// false, with size 0, when a set is empty or the very first reduction breaks down. Always
// ends; where the loop would go round for ever (the same support point or the same
// simplex again) it goes on with the scaled subset test, and when that goes round too it
// stops with the last v.
constexpr int32_t kConvexMaxIterations = 1000;
bool ConvexClosest(const double (*a)[3], int32_t countA, const double (*b)[3], int32_t countB,
                   const int32_t startPairs[4][2], int32_t startSize, ConvexDistance& out);
