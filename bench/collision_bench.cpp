// SPDX-License-Identifier: GPL-3.0-or-later
// The exact collision test on pairs of model boxes, next to libccd's GJK on the same pairs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" {
#include <ccd/ccd.h>
}

#include "gameplay/convex.h"
#include "world/md2model.h"

namespace {

constexpr int kPairs = 1024;  // a power of two: the loops wrap with a mask

// A small fixed generator, so every run tests the same pairs.
class Scatter {
public:
    double Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / static_cast<double>(1ull << 53);
    }

private:
    uint64_t state = 7;
};

struct Box {
    double lo[3];
    double hi[3];
};

double Gap(const Box& a, const Box& b)
{
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double g = std::max({0.0, a.lo[c] - b.hi[c], b.lo[c] - a.hi[c]});
        sum += g * g;
    }
    return std::sqrt(sum);
}

// B's box with its centre at A's centre plus t times dir.
Box Shifted(const Box& a, const double half[3], const double dir[3], double t)
{
    Box b;
    for (int c = 0; c < 3; ++c) {
        const double centre = 0.5 * (a.lo[c] + a.hi[c]) + t * dir[c];
        b.lo[c] = centre - half[c];
        b.hi[c] = centre + half[c];
    }
    return b;
}

// The eight corners around the centre, placed at the centre, as the models' boxes are.
ModelHull HullOf(const Box& b)
{
    ModelHull h;
    h.vertexCount = 8;
    for (int c = 0; c < 3; ++c) {
        h.translation[c] = 0.5 * (b.lo[c] + b.hi[c]);
        h.negTranslation[c] = -h.translation[c];
    }
    for (int i = 0; i < 8; ++i)
        for (int c = 0; c < 3; ++c)
            h.vertices[i][c] = ((i >> c) & 1 ? b.hi[c] : b.lo[c]) - h.translation[c];
    return h;
}

// libccd's view of a box: its corners in world coordinates.
struct CcdBox {
    double corners[8][3];
};

void CcdSupport(const void* obj, const ccd_vec3_t* dir, ccd_vec3_t* out)
{
    const CcdBox& box = *static_cast<const CcdBox*>(obj);
    int best = 0;
    double bestValue = -HUGE_VAL;
    for (int i = 0; i < 8; ++i) {
        const double v = box.corners[i][0] * dir->v[0] + box.corners[i][1] * dir->v[1] +
                         box.corners[i][2] * dir->v[2];
        if (v > bestValue) {
            bestValue = v;
            best = i;
        }
    }
    ccdVec3Set(out, box.corners[best][0], box.corners[best][1], box.corners[best][2]);
}

struct Pair {
    ModelHull a, b;
    CcdBox ca, cb;
    double gap;  // exact distance of the boxes; 0 when they overlap
    double depth;  // how far B would have to move back along its offset to touch A
};

// Boxes of model size on the field: half of them overlapping, a fifth of the rest
// closer than 0.01, the others up to a unit apart, in every direction.
std::vector<Pair> MakePairs()
{
    Scatter s;
    std::vector<Pair> pairs(kPairs);
    for (int n = 0; n < kPairs; ++n) {
        Box a;
        double half[3], dir[3], len = 0.0;
        for (int c = 0; c < 3; ++c) {
            const double centre = 2 + s.Next() * 60;
            const double ha = 0.25 + s.Next() * 0.75;
            a.lo[c] = centre - ha;
            a.hi[c] = centre + ha;
            half[c] = 0.25 + s.Next() * 0.75;
            dir[c] = s.Next() - 0.5;
            len += dir[c] * dir[c];
        }
        for (double& d : dir)
            d /= std::sqrt(len);
        // Along dir the gap grows from 0: find where it leaves 0 and where it reaches
        // the wanted value by halving.
        auto reach = [&](double want) {
            double lo = 0.0, hi = 10.0;
            for (int k = 0; k < 200; ++k) {
                const double mid = 0.5 * (lo + hi);
                (Gap(a, Shifted(a, half, dir, mid)) > want ? hi : lo) = mid;
            }
            return hi;
        };
        const double touch = reach(0.0);
        const int kind = n % 10;
        double t;
        if (kind < 5)
            t = touch * (0.02 + 0.98 * s.Next());
        else if (kind == 5)
            t = reach(0.0001 + 0.0099 * s.Next());
        else
            t = reach(0.01 + 0.99 * s.Next());
        const Box b = Shifted(a, half, dir, t);
        Pair& p = pairs[n];
        p.a = HullOf(a);
        p.b = HullOf(b);
        p.gap = Gap(a, b);
        p.depth = std::max(0.0, touch - t);
        for (int i = 0; i < 8; ++i) {
            for (int c = 0; c < 3; ++c) {
                p.ca.corners[i][c] = p.a.vertices[i][c] + p.a.translation[c];
                p.cb.corners[i][c] = p.b.vertices[i][c] + p.b.translation[c];
            }
        }
    }
    return pairs;
}

const std::vector<Pair>& Pairs()
{
    static const std::vector<Pair> pairs = MakePairs();
    return pairs;
}

ccd_t CcdSetup()
{
    ccd_t ccd;
    CCD_INIT(&ccd);
    ccd.support1 = CcdSupport;
    ccd.support2 = CcdSupport;
    ccd.max_iterations = 100;
    return ccd;
}

bool VelqIntersects(const Pair& p)
{
    ConvexQuery q = MakeConvexQuery(p.a, p.b);
    return HullsIntersect(q);
}

// Both answer alike on every pair that is not within 1e-5 of touching; says how many
// pairs overlap and how many lie within 0.01.
bool AnswersAgree()
{
    const ccd_t ccd = CcdSetup();
    int compared = 0, disagree = 0, overlapping = 0, close = 0;
    for (const Pair& p : Pairs()) {
        overlapping += p.gap == 0.0;
        close += p.gap > 0.0 && p.gap < 0.01;
        if (p.gap < 1e-5 && p.depth < 1e-5)
            continue;
        ++compared;
        const bool ours = VelqIntersects(p);
        const bool theirs = ccdGJKIntersect(&p.ca, &p.cb, &ccd) != 0;
        if (ours != theirs || ours != (p.gap == 0.0)) {
            ++disagree;
            std::fprintf(stderr, "pair disagrees: gap %.9g depth %.9g ours %d libccd %d\n", p.gap, p.depth,
                         ours, theirs);
        }
    }
    std::printf("%d pairs: %d overlapping, %d closer than 0.01; %d compared, %d disagree\n", kPairs,
                overlapping, close, compared, disagree);
    return disagree == 0;
}

void BM_IntersectVelq(benchmark::State& state)
{
    const std::vector<Pair>& pairs = Pairs();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(VelqIntersects(pairs[i]));
        i = (i + 1) & (kPairs - 1);
    }
}
BENCHMARK(BM_IntersectVelq);

void BM_IntersectLibccd(benchmark::State& state)
{
    const std::vector<Pair>& pairs = Pairs();
    const ccd_t ccd = CcdSetup();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ccdGJKIntersect(&pairs[i].ca, &pairs[i].cb, &ccd));
        i = (i + 1) & (kPairs - 1);
    }
}
BENCHMARK(BM_IntersectLibccd);

}  // namespace

// Times only answers that were checked: the run stops when the two disagree.
int main(int argc, char** argv)
{
    if (!AnswersAgree())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
