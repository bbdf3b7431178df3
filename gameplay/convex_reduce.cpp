// SPDX-License-Identifier: GPL-3.0-or-later
// Johnson's sub-algorithm of the exact collision test: the subset tables, proven sound
// when compiling, and the reduction of a simplex to the subset that holds its point
// closest to the origin.
#include "gameplay/convex_reduce.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>

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
            sum += static_cast<float>(delta[si][i] * ConvexDot(y[i], y[m]) / total[si]);
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
        double grown = d.delta[SI][m] * ConvexDot(diff, y[m]);
#pragma GCC unroll 4
        for (int e = 1; e < s.count; ++e) {
            const int i = s.members[e];
            grown += d.delta[SI][i] * ConvexDot(diff, y[i]);
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
            scale = std::max(scale, ConvexDot(y[i], y[i]));
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

}  // namespace

bool ConvexReduceInPlace(double y[4][3], int32_t pairs[4][2], int32_t k, ConvexReduction& out, bool scaled)
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

bool ConvexReduce(const double y[4][3], int32_t k, ConvexReduction& out, bool scaled)
{
    double points[4][3];
    int32_t pairs[4][2] = {};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            points[i][c] = i < k ? y[i][c] : 0.0;
    return ConvexReduceInPlace(points, pairs, k, out, scaled);
}
