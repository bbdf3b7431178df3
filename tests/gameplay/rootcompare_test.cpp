// SPDX-License-Identifier: GPL-3.0-or-later
// The square-root comparison of the projectiles' reach: the same answer as taking the root.
#include "gameplay/rootcompare.h"

#include <cfloat>

#include "support/testutil.h"

namespace
{

// Squares right at a bound's square, a few steps of the last bit either way, and further out,
// for bounds of every kind: the game's reaches, random ones, and those the shortcut leaves to
// the root (not positive, not normal, not finite).
TEST(RootCompare, AgreesWithTheRootAtAndAroundEveryBoundsSquare)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> bounds = {0.75f, 0.5f,   0.4f,    1.0f,           1.25f,        0.0f,
                                 -0.0f, -0.75f, FLT_MIN, FLT_MIN / 4.0f, FLT_TRUE_MIN, FLT_MAX,
                                 1e19f, 1e-19f, inf,     -inf,           nan};
    uint64_t state = 99;
    auto bits = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 32);
    };
    for (int i = 0; i < 2000; ++i) {
        // Positive floats of every exponent, and plain ones between 0 and 2.
        uint32_t b = bits() & 0x7FFFFFFFu;
        float f;
        std::memcpy(&f, &b, sizeof f);
        bounds.push_back(std::isfinite(f) ? f : 1.0f);
        bounds.push_back(static_cast<float>(bits() % 2000000) / 1000000.0f);
    }
    int compared = 0;
    for (const float bound : bounds) {
        std::vector<float> squares = {0.0f, -0.0f, inf, nan, FLT_MAX, FLT_TRUE_MIN};
        const float square = bound * bound;
        for (float s : {square, std::sqrt(square) * std::sqrt(square)}) {
            float up = s, down = s;
            for (int step = 0; step < 40; ++step) {
                squares.push_back(up);
                squares.push_back(down);
                up = std::nextafter(up, inf);
                down = std::nextafter(down, -inf);
            }
        }
        for (float scale : {0.5f, 0.999f, 0.999999f, 1.000001f, 1.001f, 2.0f})
            squares.push_back(square * scale);
        for (const float s : squares) {
            ++compared;
            ASSERT_EQ(RootAtLeast(s, bound), std::sqrt(s) >= bound) << "square " << s << ", bound " << bound;
        }
    }
    EXPECT_GT(compared, 100000);
}

}  // namespace
