// SPDX-License-Identifier: GPL-3.0-or-later
// The ground under every object: height lookup, wrapping, bad coordinates, the grid and
// its chunks.
#include "render/terrain.h"

#include "support/testutil.h"

namespace {

constexpr int N = TerrainGeometry::kSamples;

TEST(Terrain, GroundHeightReadsItsSampleAndWrapsEverySixtyFourUnits)
{
    // Samples: (x 0, y 0) 255; (x 1023, y 0) 32; (x 16, y 32) 80; (x 1016, y 1016) 8; all others 0.
    std::vector<unsigned char> bytes(static_cast<size_t>(N) * N, 0);
    for (auto [index, value] : {std::pair{0, 255}, {1023, 32}, {32 * N + 16, 80}, {1016 * N + 1016, 8}})
        bytes[index] = static_cast<unsigned char>(value);
    TerrainGeometry t;
    t.SetSamples(bytes.data());
    struct Case { float x, y, height; };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.0f, 0.0f, 15.9375f},   // byte 255
        {0.06f, 0.06f, 15.9375f}, // still sample 0 (0.96 truncated)
        {63.99f, 0.0f, 2.0f},     // the last sample of the row
        {64.0f, 0.0f, 15.9375f},  // 1024 wraps to 0
        {1.0f, 2.0f, 5.0f},       // rows follow y
        {-0.5f, -0.5f, 0.5f},     // below 0 wraps backwards instead of reading before the table
        {nan, 3.0f, 0.0f},        // not a number: the first sample of its row
        {inf, -inf, 15.9375f},
        {1e30f, -1e30f, 15.9375f}, // huge: a multiple of the table, sample 0
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(t.GroundHeight(c.x, c.y), c.height) << c.x << ", " << c.y;
}

TEST(Terrain, GridHasSixtyThreeRowsOfQuadsWithUpwardNormalsAndChunksHoldEachOnceInsideTheirBoxes)
{
    // A ramp rising along x by one sample unit per world unit: heights x / 16.
    std::vector<unsigned char> bytes(static_cast<size_t>(N) * N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            bytes[static_cast<size_t>(y) * N + x] = static_cast<unsigned char>(x / 16);
    TerrainGeometry t;
    t.SetSamples(bytes.data());
    {
        velqtest::CaptureCout quiet;
        t.BuildQuads();
    }
    const TerrainQuad& q = t.Quad(10, 20);
    const float want[4][3] = {{10, 20, 10 / 16.0f}, {11, 20, 11 / 16.0f}, {11, 21, 11 / 16.0f}, {10, 21, 10 / 16.0f}};
    for (int k = 0; k < 4; ++k)
        for (int a = 0; a < 3; ++a)
            EXPECT_FLOAT_EQ(q.corners[k][a], want[k][a]) << "corner " << k;
    // Rising along +x: the normal leans towards -x and points up, unit length.
    EXPECT_LT(q.normal[0], 0.0f);
    EXPECT_EQ(q.normal[1], 0.0f);
    EXPECT_GT(q.normal[2], 0.0f);
    EXPECT_NEAR(std::hypot(q.normal[0], q.normal[2]), 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(t.Quad(62, 62).corners[2][0], 63.0f) << "the grid ends at 63";

    // The chunks the ground is drawn and left out by, on rough ground: every quad in one,
    // inside its box.
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 24);
    t.SetSamples(bytes.data());
    {
        velqtest::CaptureCout quiet;
        t.BuildQuads();
    }
    std::vector<int> seen(TerrainGeometry::kQuads * TerrainGeometry::kQuads, 0);
    for (int k = 0; k < TerrainGeometry::kChunks; ++k) {
        const TerrainChunk& chunk = t.Chunk(k);
        ASSERT_LE(chunk.firstRow + chunk.rows, TerrainGeometry::kQuads) << "chunk " << k;
        ASSERT_LE(chunk.firstColumn + chunk.columns, TerrainGeometry::kQuads) << "chunk " << k;
        for (int r = chunk.firstRow; r < chunk.firstRow + chunk.rows; ++r) {
            for (int c = chunk.firstColumn; c < chunk.firstColumn + chunk.columns; ++c) {
                ++seen[r * TerrainGeometry::kQuads + c];
                for (const float* corner : t.Quad(r, c).corners)
                    for (int a = 0; a < 3; ++a)
                        ASSERT_EQ(std::clamp(corner[a], chunk.lo[a], chunk.hi[a]), corner[a]) << "chunk " << k;
            }
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), int(seen.size())) << "every quad in one chunk";
}

TEST(Terrain, FlatFallbackStandsAboveTheWater)
{
    TerrainGeometry t;
    t.SetFlat();
    t.BuildQuads();
    EXPECT_FLOAT_EQ(t.GroundHeight(30.0f, 40.0f), 1.0f) << "above the water at 0.5";
    EXPECT_FLOAT_EQ(t.Quad(0, 0).normal[2], 1.0f);
}

}  // namespace
