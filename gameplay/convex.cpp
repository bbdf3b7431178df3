// SPDX-License-Identifier: GPL-3.0-or-later
// The exact collision test: closest point of A − B to the origin by Gilbert, Johnson and
// Keerthi, with Johnson's sub-algorithm on fixed subset tables.
#include "gameplay/convex.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>

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

// One subset of the simplex positions {0 .. k-1}: its elements, the positions not in it,
// and for each of those the number of the subset grown by it.
struct Subset {
    int8_t count;
    int8_t members[4];
    int8_t others;
    int8_t nonMembers[3];
    int8_t grown[3];
};

// Subsets by size, then lexicographically: the first that passes wins, so the order is
// part of the answer.
constexpr Subset kSubsets2[] = {
    {1, {0}, 1, {1}, {2}},
    {1, {1}, 1, {0}, {2}},
    {2, {0, 1}, 0, {}, {}},
};
constexpr Subset kSubsets3[] = {
    {1, {0}, 2, {1, 2}, {3, 4}},
    {1, {1}, 2, {0, 2}, {3, 5}},
    {1, {2}, 2, {0, 1}, {4, 5}},
    {2, {0, 1}, 1, {2}, {6}},
    {2, {0, 2}, 1, {1}, {6}},
    {2, {1, 2}, 1, {0}, {6}},
    {3, {0, 1, 2}, 0, {}, {}},
};
constexpr Subset kSubsets4[] = {
    {1, {0}, 3, {1, 2, 3}, {4, 5, 6}},
    {1, {1}, 3, {0, 2, 3}, {4, 7, 8}},
    {1, {2}, 3, {0, 1, 3}, {5, 7, 9}},
    {1, {3}, 3, {0, 1, 2}, {6, 8, 9}},
    {2, {0, 1}, 2, {2, 3}, {10, 11}},
    {2, {0, 2}, 2, {1, 3}, {10, 12}},
    {2, {0, 3}, 2, {1, 2}, {11, 12}},
    {2, {1, 2}, 2, {0, 3}, {10, 13}},
    {2, {1, 3}, 2, {0, 2}, {11, 13}},
    {2, {2, 3}, 2, {0, 1}, {12, 13}},
    {3, {0, 1, 2}, 1, {3}, {14}},
    {3, {0, 1, 3}, 1, {2}, {14}},
    {3, {0, 2, 3}, 1, {1}, {14}},
    {3, {1, 2, 3}, 1, {0}, {14}},
    {4, {0, 1, 2, 3}, 0, {}, {}},
};
static_assert(std::size(kSubsets2) == 3 && std::size(kSubsets3) == 7 && std::size(kSubsets4) == 15,
              "every non-empty subset once");

constexpr int kMask(const Subset& s)
{
    int m = 0;
    for (int i = 0; i < s.count; ++i)
        m |= 1 << s.members[i];
    return m;
}

// The tables are typed by hand; check that they cover every subset once in the order
// above, that members and non-members split {0 .. k-1}, and that each grown entry is
// the subset plus that position.
template <size_t N>
constexpr bool TableIsSound(const Subset (&t)[N], int k)
{
    int seen = 0;
    for (size_t r = 0; r < N; ++r) {
        const Subset& s = t[r];
        if (s.count < 1 || s.count + s.others != k)
            return false;
        const int m = kMask(s);
        if (seen & (1 << m))
            return false;
        seen |= 1 << m;
        for (int i = 1; i < s.count; ++i)
            if (s.members[i] <= s.members[i - 1])
                return false;
        if (r > 0) {
            const Subset& p = t[r - 1];
            bool before = p.count < s.count;
            if (p.count == s.count) {
                for (int i = 0; i < s.count; ++i) {
                    if (p.members[i] != s.members[i]) {
                        before = p.members[i] < s.members[i];
                        break;
                    }
                }
            }
            if (!before)
                return false;
        }
        for (int j = 0; j < s.others; ++j) {
            const int out = s.nonMembers[j];
            if (out < 0 || out >= k || (m & (1 << out)) || s.grown[j] < 0 || s.grown[j] >= int(N))
                return false;
            if (kMask(t[s.grown[j]]) != (m | (1 << out)))
                return false;
        }
    }
    return true;
}
static_assert(TableIsSound(kSubsets2, 2) && TableIsSound(kSubsets3, 3) && TableIsSound(kSubsets4, 4),
              "subset tables");

struct SubsetTable {
    const Subset* rows;
    int count;
};

inline double Dot(const double a[3], const double b[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// When no subset passes: among the subsets whose determinants are all positive, the one
// whose closest point is nearest the origin (the first of equal ones). -1 when none has
// a distance that is a number.
int Backup(const SubsetTable& t, const double y[4][3], const double (*delta)[4], const double* total)
{
    int chosen = -1;
    float best = 0.0f;
    for (int si = 0; si < t.count; ++si) {
        const Subset& s = t.rows[si];
        if (!(total[si] > 0.0))
            continue;
        bool positive = true;
        for (int e = 0; e < s.count; ++e)
            positive = positive && delta[si][s.members[e]] > 0.0;
        if (!positive)
            continue;
        const int m = s.members[0];
        float sum = 0.0f;
        for (int e = 0; e < s.count; ++e) {
            const int i = s.members[e];
            sum += static_cast<float>(delta[si][i] * Dot(y[i], y[m]) / total[si]);
        }
        const float dist = std::sqrt(sum);
        // A negative sum means the determinants contradict each other: not a candidate.
        if (std::isnan(dist))
            continue;
        if (chosen < 0 || dist < best) {
            chosen = si;
            best = dist;
        }
    }
    return chosen;
}

}  // namespace

namespace {

inline float Support(const double (*points)[3], int32_t count, const double d[3], int32_t& index)
{
    int32_t at = 0;
    double best = Dot(points[0], d);
    for (int32_t i = 1; i < count; ++i) {
        const double value = Dot(points[i], d);
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

template <int K>
constexpr const Subset* kRows = K == 2 ? kSubsets2 : K == 3 ? kSubsets3 : kSubsets4;
template <int K>
constexpr int kRowCount = (1 << K) - 1;

// The determinants of one reduction: delta[s][i] of element i in subset s, filled for a
// subset by the subsets one smaller, which come earlier in the table.
template <int K>
struct Determinants {
    double delta[kRowCount<K>][4];
    double total[kRowCount<K>];
};

// The weights and the closest point of subset row of the table; then the kept points,
// and their pairs, move to the front of the simplex in their order (a kept point never
// lies before its new place, so none is overwritten before it is read). For a row known
// when compiling, every move is a fixed one.
template <int K>
[[gnu::always_inline]] inline void Answer(const Subset& s, const Determinants<K>& d, int row, double y[4][3],
                                          int32_t pairs[4][2], ConvexReduction& out)
{
    out.keptCount = s.count;
    // v starts from its first term as well: that can change only the sign of a zero
    // component, which no support, no step and no answer sees (−0 and +0 compare equal,
    // and v · v is the same).
    {
        const int i = s.members[0];
        const double l = d.delta[row][i] / d.total[row];
        out.kept[0] = i;
        out.lambda[0] = l;
        out.v[0] = l * y[i][0];
        out.v[1] = l * y[i][1];
        out.v[2] = l * y[i][2];
    }
#pragma GCC unroll 4
    for (int e = 1; e < s.count; ++e) {
        const int i = s.members[e];
        const double l = d.delta[row][i] / d.total[row];
        out.kept[e] = i;
        out.lambda[e] = l;
        out.v[0] += l * y[i][0];
        out.v[1] += l * y[i][1];
        out.v[2] += l * y[i][2];
    }
#pragma GCC unroll 4
    for (int e = 0; e < s.count; ++e) {
        const int i = s.members[e];
        if (i != e) {
            y[e][0] = y[i][0];
            y[e][1] = y[i][1];
            y[e][2] = y[i][2];
            pairs[e][0] = pairs[i][0];
            pairs[e][1] = pairs[i][1];
        }
    }
}

// Subset SI of the scan and, unless it passes, the ones after it. Each is a compile-time
// row, so every loop has a fixed length and unrolls and the determinants can stay in
// registers; the arithmetic runs in the same order as a plain loop over the table.
template <int K, int SI>
bool Scan(double y[4][3], int32_t pairs[4][2], Determinants<K>& d, bool scaled, double scale,
          ConvexReduction& out)
{
    constexpr Subset s = kRows<K>[SI];
    constexpr int m = s.members[0];
    // The sums below start from their first term, not from 0: that differs only in the
    // sign of a sum that is zero, and no zero determinant is ever divided by, nor divides,
    // nor passes a comparison that +0 would not. One addition less on the way to v.
    double sum = d.delta[SI][m];
    bool fails = sum <= 0.0;
#pragma GCC unroll 4
    for (int e = 1; e < s.count; ++e) {
        const double di = d.delta[SI][s.members[e]];
        sum += di;
        if (di <= 0.0)
            fails = true;
    }
    d.total[SI] = sum;
    // grown / sum is how far point j lies below the closest point of s along it.
    const double bound = scaled ? kConvexScaledBound * sum * scale : kConvexTouch;
    // Even a failed subset fills the determinants of the larger ones.
#pragma GCC unroll 4
    for (int q = 0; q < s.others; ++q) {
        const int j = s.nonMembers[q];
        const double diff[3] = {y[m][0] - y[j][0], y[m][1] - y[j][1], y[m][2] - y[j][2]};
        double grown = d.delta[SI][m] * Dot(diff, y[m]);
#pragma GCC unroll 4
        for (int e = 1; e < s.count; ++e) {
            const int i = s.members[e];
            grown += d.delta[SI][i] * Dot(diff, y[i]);
        }
        d.delta[s.grown[q]][j] = grown;
        if (grown > bound)
            fails = true;
    }
    if (!fails && sum > 0.0) {
        Answer<K>(s, d, SI, y, pairs, out);
        return true;
    }
    if constexpr (SI + 1 < kRowCount<K>)
        return Scan<K, SI + 1>(y, pairs, d, scaled, scale, out);
    else
        return false;
}

// Reduces the simplex y (with its pairs) in place: on success the kept points stand at
// its front; on a breakdown nothing moves.
template <int K>
bool Reduce(double y[4][3], int32_t pairs[4][2], ConvexReduction& out, bool scaled)
{
    Determinants<K> d;
    double scale = 0.0;
#pragma GCC unroll 4
    for (int i = 0; i < K; ++i) {
        d.delta[i][i] = 1.0;
        if (scaled)
            scale = std::max(scale, Dot(y[i], y[i]));
    }
    if (Scan<K, 0>(y, pairs, d, scaled, scale, out))
        return true;

    std::cerr << "comp_sub_dist using backup proc\n";
    // Every determinant is known now. A copy, so that the scan's may stay in registers.
    const Determinants<K> all = d;
    const int chosen = Backup({kRows<K>, kRowCount<K>}, y, all.delta, all.total);
    // Every singleton has the determinant 1 and a distance that is a number, so this
    // stays a guard: the caller keeps the simplex it had.
    if (chosen < 0) {
        std::cerr << "backup failed\n";
        return false;
    }
    Answer<K>(kRows<K>[chosen], all, chosen, y, pairs, out);
    return true;
}

bool ReduceSimplex(double y[4][3], int32_t pairs[4][2], int32_t k, ConvexReduction& out, bool scaled)
{
    switch (k) {
    case 2:
        return Reduce<2>(y, pairs, out, scaled);
    case 3:
        return Reduce<3>(y, pairs, out, scaled);
    case 4:
        return Reduce<4>(y, pairs, out, scaled);
    default:
        return false;
    }
}

}  // namespace

bool ConvexReduce(const double y[4][3], int32_t k, ConvexReduction& out, bool scaled)
{
    double points[4][3];
    int32_t pairs[4][2] = {};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            points[i][c] = i < k ? y[i][c] : 0.0;
    return ReduceSimplex(points, pairs, k, out, scaled);
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
        } else if (!ReduceSimplex(s.y, s.pairs, s.size, r, out.strict)) {
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
        const double g = Dot(r.v, r.v) + static_cast<double>(h);
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
    const double d = std::sqrt(Dot(dist.v, dist.v));
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
            if (!(Dot(rel, n) > 0.0)) {
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
