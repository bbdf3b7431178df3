// SPDX-License-Identifier: GPL-3.0-or-later
// The exact collision test: distances against box geometry worked out by hand, flat and
// thin sets, the cached plane, bad input, and the numerically hard cases.
#include "gameplay/convex.h"

#include "engine/random.h"
#include "hardhulls.h"
#include "support/testutil.h"
#include "world/md2model.h"

namespace {

using hardhulls::Box;
using hardhulls::Point;

// The eight corners relative to the box centre, placed at the centre.
ModelHull HullOf(const Box& b)
{
    ModelHull h;
    h.vertexCount = 8;
    for (int c = 0; c < 3; ++c) {
        h.translation[c] = 0.5 * (b.lo[c] + b.hi[c]);
        h.negTranslation[c] = -h.translation[c];
    }
    for (int i = 0; i < 8 * 3; ++i)
        h.vertices[i / 3][i % 3] = ((i / 3 >> i % 3) & 1 ? b.hi[i % 3] : b.lo[i % 3]) - h.translation[i % 3];
    return h;
}

Box Cube(double x, double y, double z, double side)
{
    const double r = side / 2;
    return {{x - r, y - r, z - r}, {x + r, y + r, z + r}};
}

// Distance of two axis-aligned boxes: the gaps along the axes.
double BoxGap(const Box& a, const Box& b)
{
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double gap = std::max({0.0, a.lo[c] - b.hi[c], b.lo[c] - a.hi[c]});
        sum += gap * gap;
    }
    return std::sqrt(sum);
}

double Length(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

ConvexDistance Closest(const std::vector<Point>& a, const std::vector<Point>& b)
{
    using Points = const double(*)[3];
    ConvexDistance d;
    ConvexClosest(reinterpret_cast<Points>(a.data()), int32_t(a.size()), reinterpret_cast<Points>(b.data()),
                  int32_t(b.size()), nullptr, 0, d);
    return d;
}

std::vector<Point> WorldCorners(const ModelHull& h)
{
    std::vector<Point> out(h.vertexCount);
    for (int i = 0; i < h.vertexCount * 3; ++i)
        out[i / 3][i % 3] = h.vertices[i / 3][i % 3] + h.translation[i % 3];
    return out;
}

TEST(Convex, BoxPairsIntersectExactlyWhenCloserThanTheBound)
{
    // Faces touching and nearly so, edge to edge, corner to corner, overlapping, A deep in B
    // (and, swapped, B deep in A).
    struct Row { double dx, dy, dz, sideB; bool intersects; double distance; } rows[] = {
        {2.5, 0, 0, 2, false, 0.5}, {2.0, 0, 0, 2, true, 0}, {2.000005, 0, 0, 2, true, 0},
        {2.00002, 0, 0, 2, false, 0.00002}, {2.3, 2.4, 0, 2, false, 0.5},
        {2.5, 2.5, 2.5, 2, false, std::sqrt(0.75)}, {1.0, 0.5, -0.2, 2, true, 0}, {-0.3, 0.2, 0.1, 10, true, 0},
    };
    // Near the origin, and far out where the support value in single precision no longer
    // lets the loop end by itself.
    const double bases[][3] = {{0, 0, 0}, {5000, -7000, 3000}};
    for (const auto& base : bases) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << "offset " << r.dx << " " << r.dy << " " << r.dz << " at "
                                            << base[0]);
            const Box a = Cube(base[0], base[1], base[2], 2);
            const Box b = Cube(base[0] + r.dx, base[1] + r.dy, base[2] + r.dz, r.sideB);
            const ModelHull ha = HullOf(a), hb = HullOf(b);
            ConvexQuery q = MakeConvexQuery(ha, hb);
            EXPECT_EQ(HullsIntersect(q), r.intersects);
            EXPECT_EQ(std::make_tuple(q.cachedSeparation, q.simplexSize > 0), std::make_tuple(r.intersects ? 0 : 1, true));
            // Apart, the witness points lie in their boxes and are the distance apart.
            double gap[3];
            for (int c = 0; c < 3 && !r.intersects; ++c) {
                const double wa = q.witnessA[c] + ha.translation[c], wb = q.witnessB[c] + ha.translation[c];
                EXPECT_NEAR(wa, std::clamp(wa, a.lo[c], a.hi[c]), 1e-9) << "A's witness in its box, axis " << c;
                EXPECT_NEAR(wb, std::clamp(wb, b.lo[c], b.hi[c]), 1e-9) << "B's witness in its box, axis " << c;
                gap[c] = wb - wa;
            }
            if (!r.intersects) {
                EXPECT_NEAR(Length(gap), r.distance, 1e-9);
            }
            ConvexQuery swapped = MakeConvexQuery(hb, ha);
            EXPECT_EQ(HullsIntersect(swapped), r.intersects) << "swapped";
        }
    }
}

TEST(Convex, RandomBoxPairsAgreeWithTheirGaps)
{
    CRandom::Seed(2024);
    // Some boxes are flat along an axis, like a wall piece.
    auto extent = [] { return CRandom::Next() % 8 == 0 ? 0.0 : CRandom::Unit() * 2; };
    int separated = 0;
    for (int n = 0; n < 3000; ++n) {
        Box a, b;
        for (int c = 0; c < 3; ++c) {
            const double centreA = 2 + CRandom::Unit() * 60, centreB = centreA + (CRandom::Unit() - 0.5) * 1.8;
            const double ea = extent() / 2, eb = extent() / 2;
            a.lo[c] = centreA - ea, a.hi[c] = centreA + ea, b.lo[c] = centreB - eb, b.hi[c] = centreB + eb;
        }
        const ModelHull ha = HullOf(a), hb = HullOf(b);
        const double want = BoxGap(a, b);
        const std::vector<Point> pa = WorldCorners(ha), pb = WorldCorners(hb);
        const ConvexDistance d = Closest(pa, pb);
        const double got = Length(d.v);
        SCOPED_TRACE(testing::Message() << "pair " << n << " gap " << want << " found " << got);
        // v is a point of the hull of A − B, and the loop ends once no point lies more
        // than the bound (plus the rounding of the single-precision support) below it.
        EXPECT_GE(got, want - 1e-9);
        EXPECT_LE(got - want, got == 0 ? 0.0 : 2e-5 / got);
        ConvexQuery q = MakeConvexQuery(ha, hb);
        const bool hit = HullsIntersect(q);
        EXPECT_EQ(hit, got < kConvexTouch);
        EXPECT_LT(hit ? want : 0.0, kConvexTouch);
        separated += hit ? 0 : 1;
    }
    EXPECT_EQ(std::clamp(separated, 1001, 1999), separated);
}

TEST(Convex, CollinearAndFlatSetsWork)
{
    const std::vector<Point> wall = {{0, 0, 0}, {2, 0, 0}, {2, 0, 3}, {0, 0, 3}};
    const struct { const char* what; std::vector<Point> a, b; double distance; int maxSimplex; } rows[] = {
        {"three points on a line, a point beside it", {{0, 0, 0}, {1, 1, 0}, {3, 3, 0}}, {{1, 2, 0}},
         std::sqrt(0.5), 2},
        {"crossing segments one above the other", {{0, 0, 0}, {4, 0, 0}}, {{2, -1, 1}, {2, 3, 1}}, 1.0, 3},
        {"a wall piece and a point in front of it", wall, {{1, 0.8, 1.5}}, 0.8, 3},
        {"a wall piece and a point in its plane", wall, {{1, 0, 1.5}}, 0.0, 3},
        {"two wall pieces in one plane, apart", wall, {{2.5, 0, 1}, {4, 0, 1}, {4, 0, 2}, {2.5, 0, 2}}, 0.5, 3},
    };
    for (const auto& r : rows) {
        const ConvexDistance d = Closest(r.a, r.b);
        EXPECT_NEAR(Length(d.v), r.distance, 1e-9) << r.what;
        EXPECT_EQ(std::make_tuple(d.size <= r.maxSimplex, d.stop), std::make_tuple(true, ConvexStop::Converged)) << r.what;
    }
}

TEST(Convex, CachedPlaneAnswersUntilItNoLongerSeparates)
{
    ModelHull a = HullOf(Cube(10, 10, 1, 2));
    ModelHull b = HullOf(Cube(12.5, 10, 1, 2));
    auto moveTo = [](ModelHull& h, double x, double y) { h.translation[0] = x, h.translation[1] = y; };
    ConvexQuery q = MakeConvexQuery(a, b);
    ASSERT_FALSE(HullsIntersect(q));
    ASSERT_EQ(q.cachedSeparation, 1);
    const double firstB = q.witnessB[0];
    EXPECT_DOUBLE_EQ(firstB - q.witnessA[0], 0.5);

    moveTo(b, 13, 10);  // further off along the normal: the plane still separates
    EXPECT_FALSE(HullsIntersect(q));
    EXPECT_EQ(q.witnessB[0], firstB) << "answered from the plane, without a new run";

    moveTo(b, 11, 13);  // beside A now: apart, but across the old plane
    EXPECT_FALSE(HullsIntersect(q));
    EXPECT_EQ(q.cachedSeparation, 1);
    EXPECT_DOUBLE_EQ(q.witnessB[1] - q.witnessA[1], 1.0) << "a new plane from a new run";

    moveTo(a, 11, 11.2);  // A walks into B: the plane moves with A
    EXPECT_TRUE(HullsIntersect(q));
    EXPECT_EQ(q.cachedSeparation, 0);

    moveTo(a, 10, 10), moveTo(b, 12.5, 10);
    ConvexQuery touch = MakeConvexQuery(a, b);
    ASSERT_FALSE(HullsIntersect(touch));
    moveTo(b, 12, 10);  // B's face comes to lie on the plane: touching
    EXPECT_TRUE(HullsIntersect(touch));
}

TEST(Convex, BadCountsAndNumbersNeverReadOutsideOrCrash)
{
    const ModelHull cube = HullOf(Cube(0, 0, 0, 2)), near = HullOf(Cube(2.5, 0, 0, 2));
    const ModelHull overlap = HullOf(Cube(1, 0, 0, 2));
    const auto with = [](ModelHull h, auto edit) { return edit(h), h; };
    // Only the array's eight vertices exist; no vertices touch nothing; a place that is not
    // a number is refused.
    const struct { ModelHull a, b; bool hit; } cases[] = {
        {cube, with(near, [](ModelHull& h) { h.vertexCount = 1000; }), false},
        {with(overlap, [](ModelHull& h) { h.vertexCount = -5; }), cube, false},
        {cube, with(near, [](ModelHull& h) { h.translation[1] = std::nan(""); }), true},
        {cube, with(near, [](ModelHull& h) { h.translation[1] = INFINITY; }), true},
    };
    for (const auto& c : cases) {
        ConvexQuery q = MakeConvexQuery(c.a, c.b);
        EXPECT_EQ(HullsIntersect(q), c.hit) << &c - cases;
        if (&c == cases) {
            EXPECT_NEAR(q.witnessB[0] - q.witnessA[0], 0.5, 1e-12);
        }
    }
    // A simplex left in the record is a start; one that names missing points is not.
    for (auto [size, index] : {std::pair{7, 0}, std::pair{2, 99}}) {
        ConvexQuery s = MakeConvexQuery(cube, overlap);
        for (auto& pair : s.simplexPairs)
            pair[0] = pair[1] = 0;
        s.simplexSize = size;
        s.simplexPairs[size > 4 ? 0 : size - 1][1] = index;
        EXPECT_TRUE(HullsIntersect(s));
        EXPECT_EQ(std::clamp(s.simplexSize, 1, 4), s.simplexSize);
    }
}

// A tetrahedron flat enough that rounding gives every subset a determinant of the
// wrong sign or a grown one above the bound.
TEST(Convex, FlatTetrahedronFallsBackToTheBackupChoice)
{
    const double y[4][3] = {
        {0x1.ad003553b55ccp+4, 0x1.59362ab869cadp+2, 0x1.93e48be993d4ep+5},
        {-0x1.86bd532f8b2f1p+7, 0x1.b1114c6079cdap+7, -0x1.c205f6afbe317p+7},
        {-0x1.054bf5384ba3bp+5, -0x1.557e7e06386eap+6, -0x1.a6048e3c16fa3p+6},
        {-0x1.98a7fe2fefb7ap+7, 0x1.e8da6918449fap+7, -0x1.c2989a4c7c0efp+7},
    };
    ConvexReduction r;
    velqtest::CaptureCerr err;
    ASSERT_TRUE(ConvexReduce(y, 4, r));
    EXPECT_EQ(err.Text(), "comp_sub_dist using backup proc\n");
    // The kept points' weights make a convex combination, and the points' plane holds the origin.
    double sum = 0;
    for (int e = 0; e < r.keptCount; ++e) {
        EXPECT_GT(r.lambda[e], 0);
        sum += r.lambda[e];
    }
    EXPECT_NEAR(sum, 1, 1e-12);
    EXPECT_LT(Length(r.v), 1e-9);
}

// A flat octagon, large and far out, and a point above its middle: the loop goes round
// with the fixed bound, and with the scaled one it meets a flat simplex that only the
// backup choice gets through. It ends with the point's height.
TEST(Convex, HardRunsThatGoRoundEndAtTheRightDistance)
{
    velqtest::CaptureCerr err;
    const ConvexDistance d = Closest(hardhulls::kOctagon, {hardhulls::kAboveOctagon});
    EXPECT_NE(err.Text().find("comp_sub_dist using backup proc\n"), std::string::npos) << err.Text();
    EXPECT_EQ(err.Text().find("backup failed"), std::string::npos) << err.Text();
    EXPECT_TRUE(d.strict);
    EXPECT_NEAR(Length(d.v), 0x1.4634f97dc7046p-1, 1e-9);

    // A box thinner than the bound's scale: the fixed bound takes the top face's edge for the
    // closest feature and keeps dropping the face's third corner.
    const Box& thin = hardhulls::kThin;
    const Box dot = Cube(hardhulls::kAboveThin[0], hardhulls::kAboveThin[1], hardhulls::kAboveThin[2], 0);
    const ConvexDistance t = Closest(WorldCorners(HullOf(thin)), WorldCorners(HullOf(dot)));
    EXPECT_TRUE(t.strict);
    EXPECT_NEAR(Length(t.v), BoxGap(thin, dot), 1e-9);
}

}  // namespace
