// SPDX-License-Identifier: GPL-3.0-or-later
// The exact collision test: closest point of A − B to the origin by Gilbert, Johnson and
// Keerthi, and the query that keeps a separating plane between calls. The reduction of
// each step's simplex is in convex_reduce.cpp.
#include "gameplay/convex.h"

#include <algorithm>
#include <cmath>

#include "gameplay/convex_reduce.h"
#include "world/md2model.h"

// The separation query, with the distance run inlined into it (placing, supports,
// bookkeeping; the reductions stay calls), is built twice: for any x86-64 and for
// processors with AVX2, whose wider and three-operand arithmetic does the same operations
// in about an eighth fewer instructions. Both give the same results: the AVX2 version has
// no fused multiply-add, so every product and sum is rounded as in the plain one. Which
// one runs is settled once, when the program starts. VELQ_CONVEX_PLAIN_ONLY builds the
// plain one alone, for a test on a machine that would pick the other.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(VELQ_CONVEX_PLAIN_ONLY)
#define VELQ_WIDE_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VELQ_WIDE_CLONES
#endif

namespace {

inline float Support(const double (*points)[3], int32_t count, const double d[3], int32_t& index)
{
    int32_t at = 0;
    double best = ConvexDot(points[0], d);
    for (int32_t i = 1; i < count; ++i) {
        const double value = ConvexDot(points[i], d);
        if (value > best) {
            best = value;
            at = i;
        }
    }
    index = at;
    return static_cast<float>(best);
}

// Any number of points as the caller keeps them, x, y and z side by side.
struct PackedPoints {
    const double (*p)[3];
    int32_t count;

    double At(int32_t i, int c) const { return p[i][c]; }
    float SupportIn(const double d[3], int32_t& index) const { return Support(p, count, d, index); }
};

// Eight points with each coordinate in a row of its own, so that the eight products of
// the support go two to an instruction. Same products, same sums, same order as above.
struct EightPoints {
    static constexpr int32_t count = 8;
    double c[3][8];

    double At(int32_t i, int k) const { return c[k][i]; }

    // The hull's vertices placed in the world, a row per coordinate.
    void Place(const ModelHull& h)
    {
        const double t[3] = {h.translation[0], h.translation[1], h.translation[2]};
#pragma GCC unroll 8
        for (int32_t i = 0; i < 8; ++i) {
            c[0][i] = h.vertices[i][0] + t[0];
            c[1][i] = h.vertices[i][1] + t[1];
            c[2][i] = h.vertices[i][2] + t[2];
        }
    }

    float SupportIn(const double d[3], int32_t& index) const
    {
        double values[8];
        for (int32_t i = 0; i < 8; ++i)
            values[i] = c[0][i] * d[0] + c[1][i] * d[1] + c[2][i] * d[2];
        int32_t at = 0;
        double best = values[0];
        for (int32_t i = 1; i < 8; ++i) {
            if (values[i] > best) {
                best = values[i];
                at = i;
            }
        }
        index = at;
        return static_cast<float>(best);
    }
};

}  // namespace

float ConvexSupport(const double (*points)[3], int32_t count, const double d[3], int32_t& index)
{
    return Support(points, count, d, index);
}

namespace {

// The working simplex of one distance run.
struct Simplex {
    double y[4][3];
    int32_t pairs[4][2];
    int32_t size;

    template <class Points>
    void Set(int at, const Points& a, const Points& b, int32_t ia, int32_t ib)
    {
        y[at][0] = a.At(ia, 0) - b.At(ib, 0);
        y[at][1] = a.At(ia, 1) - b.At(ib, 1);
        y[at][2] = a.At(ia, 2) - b.At(ib, 2);
        pairs[at][0] = ia;
        pairs[at][1] = ib;
    }
};

// The pairs of a simplex seen before, for the cycle test.
struct PairList {
    int32_t pairs[4][2];
    int32_t size;

    void Take(const Simplex& s)
    {
        size = s.size;
        for (int i = 0; i < size; ++i) {
            pairs[i][0] = s.pairs[i][0];
            pairs[i][1] = s.pairs[i][1];
        }
    }
    bool Same(const Simplex& s) const
    {
        if (size != s.size)
            return false;
        for (int i = 0; i < size; ++i)
            if (pairs[i][0] != s.pairs[i][0] || pairs[i][1] != s.pairs[i][1])
                return false;
        return true;
    }
};

// The answer of reduction r, whose kept points have these pairs.
void Write(ConvexDistance& out, const ConvexReduction& r, const int32_t (*pairs)[2])
{
    out.v[0] = r.v[0];
    out.v[1] = r.v[1];
    out.v[2] = r.v[2];
    for (int e = 0; e < r.keptCount; ++e) {
        out.lambda[e] = r.lambda[e];
        out.pairs[e][0] = pairs[e][0];
        out.pairs[e][1] = pairs[e][1];
    }
    out.size = r.keptCount;
}

bool StartIsUsable(const int32_t pairs[4][2], int32_t size, int32_t countA, int32_t countB)
{
    if (!pairs || size < 1 || size > 4)
        return false;
    for (int i = 0; i < size; ++i) {
        if (pairs[i][0] < 0 || pairs[i][0] >= countA || pairs[i][1] < 0 || pairs[i][1] >= countB)
            return false;
    }
    return true;
}

template <class Points>
[[gnu::always_inline]] inline bool Closest(const Points& a, const Points& b, const int32_t startPairs[4][2],
                                           int32_t startSize, ConvexDistance& out)
{
    const int32_t countA = a.count;
    const int32_t countB = b.count;
    out.size = 0;
    out.iterations = 0;
    out.strict = false;
    out.stop = ConvexStop::Breakdown;
    if (countA < 1 || countB < 1)
        return false;

    Simplex s;
    if (StartIsUsable(startPairs, startSize, countA, countB)) {
        s.size = startSize;
        for (int i = 0; i < startSize; ++i)
            s.Set(i, a, b, startPairs[i][0], startPairs[i][1]);
    } else {
        s.size = 1;
        s.Set(0, a, b, 0, 0);
    }

    // The step from one simplex to the next depends on nothing else, so a simplex seen
    // before means the loop goes round for ever. Brent's way of finding the cycle: keep
    // the simplex of every power-of-two step and compare each new one with it.
    PairList seen;
    seen.Take(s);
    int32_t seenAge = 0;
    int32_t seenSpan = 1;
    // Two reductions, this step's and the one before: a step that breaks down answers
    // with the one before. Its kept points are still at the front of the simplex then,
    // as a breakdown moves nothing and neither does a reduction that keeps all four.
    ConvexReduction reductions[2];
    int current = 0;
    bool hadBefore = false;
    for (int32_t iteration = 1;; ++iteration) {
        out.iterations = iteration;
        ConvexReduction& r = reductions[current];
        const ConvexReduction& before = reductions[current ^ 1];
        if (s.size == 1) {
            r.keptCount = 1;
            r.kept[0] = 0;
            r.lambda[0] = 1.0;
            for (int c = 0; c < 3; ++c)
                r.v[c] = s.y[0][c];
        } else if (!ConvexReduceInPlace(s.y, s.pairs, s.size, r, out.strict)) {
            out.stop = ConvexStop::Breakdown;
            if (!hadBefore)
                return false;
            Write(out, before, s.pairs);
            return true;
        }

        // The reduction moved the kept points to the front in their order.
        s.size = r.keptCount;

        // Support of A − B in −v: A's point furthest along −v, B's furthest along v.
        const double minusV[3] = {-r.v[0], -r.v[1], -r.v[2]};
        int32_t ia = 0;
        int32_t ib = 0;
        const float ha = a.SupportIn(minusV, ia);
        const float hb = b.SupportIn(r.v, ib);
        const float h = ha + hb;
        const double g = ConvexDot(r.v, r.v) + static_cast<double>(h);
        if (std::fabs(g) < kConvexTouch) {
            Write(out, r, s.pairs);
            out.stop = ConvexStop::Converged;
            return true;
        }

        // From here on the loop would not end by itself. Four kept points should hold the
        // origin, and then g is near 0; so the four lie (nearly) in a plane and their
        // weights are noise. There is no fifth slot: the simplex before is the answer.
        if (s.size == 4) {
            if (!hadBefore) {
                // A given simplex that is flat from the start: begin again from scratch.
                s.size = 1;
                s.Set(0, a, b, 0, 0);
                continue;
            }
            Write(out, before, s.pairs);
            out.stop = ConvexStop::Flat;
            return true;
        }
        if (iteration >= kConvexMaxIterations) {
            Write(out, r, s.pairs);
            out.stop = ConvexStop::Cap;
            return true;
        }
        // A support point already in the simplex would be added for ever (the support
        // value in single precision can hold g above the bound far from the origin).
        bool stuck = false;
        for (int e = 0; e < s.size && !stuck; ++e) {
            stuck = (s.pairs[e][0] == ia && s.pairs[e][1] == ib) ||
                    (s.y[e][0] == a.At(ia, 0) - b.At(ib, 0) && s.y[e][1] == a.At(ia, 1) - b.At(ib, 1) &&
                     s.y[e][2] == a.At(ia, 2) - b.At(ib, 2));
        }
        if (!stuck) {
            s.Set(s.size, a, b, ia, ib);
            ++s.size;
            stuck = seen.Same(s);
            if (++seenAge == seenSpan) {
                seen.Take(s);
                seenAge = 0;
                seenSpan *= 2;
            }
        }
        if (stuck) {
            // The tolerance of the subset test does not scale with the simplex: on a thin
            // hull it takes an edge for the closest feature when the face beside it holds
            // the closer point, and the face's support point is dropped again and again.
            // Go on with a bound that scales with the simplex; stuck with that too, v is as
            // good as it gets.
            if (out.strict) {
                Write(out, r, s.pairs);
                out.stop = ConvexStop::Stuck;
                return true;
            }
            out.strict = true;
            seen.Take(s);
            seenAge = 0;
            seenSpan = 1;
        }
        hadBefore = true;
        current ^= 1;
    }
}

}  // namespace

bool ConvexClosest(const double (*a)[3], int32_t countA, const double (*b)[3], int32_t countB,
                   const int32_t startPairs[4][2], int32_t startSize, ConvexDistance& out)
{
    out = ConvexDistance{};
    return Closest(PackedPoints{a, countA}, PackedPoints{b, countB}, startPairs, startSize, out);
}

namespace {

int32_t UsableCount(const ModelHull& h)
{
    return std::clamp<int32_t>(h.vertexCount, 0, ModelHull::kCapacity);
}

// The hull's vertices in world coordinates.
void Place(const ModelHull& h, int32_t count, double out[ModelHull::kCapacity][3])
{
    for (int32_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            out[i][c] = h.vertices[i][c] + h.translation[c];
}

// The distance run on the placed points and what the record learns from it.
template <class Points>
[[gnu::always_inline]] inline bool Separated(ConvexQuery& query, const Points& a, const Points& b)
{
    // Not cleared first: the run writes all of it that is read.
    ConvexDistance dist;
    const bool ran = Closest(a, b, query.simplexPairs, query.simplexSize, dist);
    query.simplexSize = dist.size;
    for (int i = 0; i < dist.size; ++i) {
        query.simplexPairs[i][0] = dist.pairs[i][0];
        query.simplexPairs[i][1] = dist.pairs[i][1];
    }
    if (!ran)
        return a.count == 0 || b.count == 0;  // nothing there: nothing to touch
    // A distance that is not a finite number counts as touching: such a place is refused.
    const double d = std::sqrt(ConvexDot(dist.v, dist.v));
    if (!(d >= kConvexTouch) || !std::isfinite(d))
        return false;

    double pa[3] = {0.0, 0.0, 0.0};
    double pb[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < dist.size; ++i) {
        const double l = dist.lambda[i];
        for (int c = 0; c < 3; ++c) {
            pa[c] += l * a.At(dist.pairs[i][0], c);
            pb[c] += l * b.At(dist.pairs[i][1], c);
        }
    }
    const double* t = query.hullA->translation;
    for (int c = 0; c < 3; ++c) {
        query.witnessA[c] = pa[c] - t[c];
        query.witnessB[c] = pb[c] - t[c];
    }
    return true;
}

}  // namespace

VELQ_WIDE_CLONES bool HullsSeparated(ConvexQuery& query)
{
    const ModelHull& ha = *query.hullA;
    const ModelHull& hb = *query.hullB;
    const int32_t na = UsableCount(ha);
    const int32_t nb = UsableCount(hb);
    if (na == 8 && nb == 8) {
        // The game's case: two boxes.
        EightPoints a;
        EightPoints b;
        a.Place(ha);
        b.Place(hb);
        return Separated(query, a, b);
    }
    double a[ModelHull::kCapacity][3];
    double b[ModelHull::kCapacity][3];
    Place(ha, na, a);
    Place(hb, nb, b);
    return Separated(query, PackedPoints{a, na}, PackedPoints{b, nb});
}

bool HullsIntersect(ConvexQuery& query)
{
    const ModelHull& ha = *query.hullA;
    const ModelHull& hb = *query.hullB;
    if (UsableCount(ha) == 0 || UsableCount(hb) == 0)
        return false;

    if (query.cachedSeparation == 1) {
        // The plane through A's closest point, facing B, moves with A: while every vertex
        // of B stays strictly in front of it, the pair is still apart.
        double p[3];
        double n[3];
        for (int c = 0; c < 3; ++c) {
            p[c] = query.witnessA[c] + ha.translation[c] - hb.translation[c];
            n[c] = query.witnessB[c] - query.witnessA[c];
        }
        const int32_t nb = UsableCount(hb);
        for (int32_t i = 0; i < nb; ++i) {
            const double* v = hb.vertices[i];
            const double rel[3] = {v[0] - p[0], v[1] - p[1], v[2] - p[2]};
            if (!(ConvexDot(rel, n) > 0.0)) {
                if (HullsSeparated(query))
                    return false;
                query.cachedSeparation = 0;
                return true;
            }
        }
        return false;
    }

    if (HullsSeparated(query)) {
        query.cachedSeparation = 1;
        return false;
    }
    return true;
}
