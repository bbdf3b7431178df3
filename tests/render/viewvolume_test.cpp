// SPDX-License-Identifier: GPL-3.0-or-later
// What a pass leaves out: only shapes wholly outside its view volume, from the same
// matrices the GL is given.
#include "render/viewvolume.h"

#include "support/testutil.h"

namespace {

// glFrustum(-1, 1, -1, 1, 1, 100): 90 degrees each way, looking down -z.
constexpr float kFrustum[16] = {
    1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0,
};
constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr float kMirrorZ[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
constexpr float kMoveX5[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};

TEST(ViewVolume, LeavesOutOnlySpheresWhollyOutside)
{
    struct Case {
        const char* what;
        const float* modelview;
        float x, y, z, radius;
        bool outside;
    };
    const Case cases[] = {
        {"ahead", kIdentity, 0, 0, -10, 0.1f, false},
        {"beside, beyond the side plane by 1.41", kIdentity, 12, 0, -10, 1.0f, true},
        {"beside, reaching back in", kIdentity, 12, 0, -10, 1.5f, false},
        {"below", kIdentity, 0, -12, -10, 1.0f, true},
        {"behind the eye", kIdentity, 0, 0, 5, 1.0f, true},
        {"nearer than the near plane", kIdentity, 0, 0, -0.5f, 0.2f, true},
        {"across the near plane", kIdentity, 0, 0, -0.5f, 0.6f, false},
        {"beyond the far plane", kIdentity, 0, 0, -102, 1.0f, true},
        {"mirrored: behind in the world, ahead in the picture", kMirrorZ, 0, 0, 10, 0.1f, false},
        {"mirrored: ahead in the world, behind in the picture", kMirrorZ, 0, 0, -10, 1.0f, true},
        {"moved: x 5 is seen at x 10", kMoveX5, 5, 0, -10, 0.1f, false},
        {"moved: x -16 is seen at x -11", kMoveX5, -16, 0, -10, 0.5f, true},
        {"not a number is kept", kIdentity, std::nanf(""), 0, -10, 0.1f, false},
    };
    for (const Case& c : cases) {
        ViewVolume v;
        EXPECT_FALSE(v.SphereOutside(c.x, c.y, c.z, c.radius)) << "before Set everything is seen: " << c.what;
        v.Set(kFrustum, c.modelview);
        EXPECT_EQ(v.SphereOutside(c.x, c.y, c.z, c.radius), c.outside) << c.what;
    }
}

TEST(ViewVolume, LeavesOutBoxesOnlyWhenOnePlaneHasAllCorners)
{
    struct Case {
        float lo[3], hi[3];
        bool outside;
    };
    const Case cases[] = {
        {{-1, -1, -20}, {1, 1, -10}, false},
        {{25, -1, -20}, {30, 1, -10}, true},   // right of the right plane
        {{-50, -1, -20}, {50, 1, -10}, false}, // across the whole view
        {{-1, -1, -200}, {1, 1, -150}, true},  // beyond the far plane
        {{-1, -1, 2}, {1, 1, 3}, true},        // behind
        {{-1, -1, -3}, {1, 1, 3}, false},      // round the eye
    };
    ViewVolume v;
    v.Set(kFrustum, kIdentity);
    for (const Case& c : cases)
        EXPECT_EQ(v.BoxOutside(c.lo, c.hi), c.outside) << c.lo[0] << " " << c.lo[2];
}

TEST(ViewVolume, ProjectsBoxesInFrontOnlyToTheRectangleTheyCover)
{
    struct Case {
        float lo[3], hi[3];
        bool projected;
        float rect[4];
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {{-1, -1, -10}, {1, 1, -10}, true, {-0.1f, -0.1f, 0.1f, 0.1f}},
        {{-1, -1, -20}, {1, 1, -10}, true, {-0.1f, -0.1f, 0.1f, 0.1f}},  // the near face is the larger
        {{2, 0, -4}, {4, 1, -2}, true, {0.5f, 0.0f, 2.0f, 0.5f}},       // beside the view: past 1
        {{-1, -1, -10}, {1, 1, 1}, false, {}},                           // reaching behind the eye
        {{nan, -1, -10}, {1, 1, -10}, false, {}},
    };
    for (const Case& c : cases) {
        float rect[4] = {};
        ASSERT_EQ(ViewVolume::ProjectBox(kFrustum, kIdentity, c.lo, c.hi, rect), c.projected) << c.lo[0];
        for (int k = 0; c.projected && k < 4; ++k)
            EXPECT_NEAR(rect[k], c.rect[k], 1e-5f) << c.lo[0] << " side " << k;
    }
}

}  // namespace
