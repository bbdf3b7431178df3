// SPDX-License-Identifier: GPL-3.0-or-later
// The frame on windows of every shape: where it stands, and the cursor back into it.
#include "engine/screen.h"

#include <gtest/gtest.h>


namespace {

using Rect = CScreen::Rect;

TEST(Screen, FrameFillsTheWindowWithItsProportionsCentredAndAtLeastOnePixel)
{
    const struct { int w, h; Rect fit; } cases[] = {
        {800, 600, {0, 0, 800, 600}},        // the frame's own size
        {1920, 1080, {240, 0, 1440, 1080}},  // bars beside
        {1280, 720, {160, 0, 960, 720}},
        {1280, 1024, {0, 32, 1280, 960}},    // bars above and below
        {640, 480, {0, 0, 640, 480}},        // smaller: scaled down
        {1921, 1081, {240, 0, 1441, 1081}},  // odd: 1441.33 rounded, the odd pixel of bar on the right
        {799, 601, {0, 1, 799, 599}},        // 599.25 rounded
        {1, 1, {0, 0, 1, 1}},
        {1000, 1, {499, 0, 1, 1}},
        {1, 1000, {0, 499, 1, 1}},
        {0, -5, {0, 0, 1, 1}},               // no size counts as one pixel
        {16384, 16384, {0, 2048, 16384, 12288}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CScreen::Fit(c.w, c.h), c.fit) << c.w << "x" << c.h;
}

TEST(Screen, CursorMapsIntoTheFrameAndOverTheBarsToTheNearestEdge)
{
    const struct { int w, h, x, y, frameX, frameY; } cases[] = {
        {800, 600, 0, 0, 0, 0},          {800, 600, 799, 599, 799, 599},  {800, 600, 123, 457, 123, 457},
        {1920, 1080, 240, 0, 0, 0},      {1920, 1080, 1679, 1079, 799, 599},
        {1920, 1080, 960, 540, 400, 300},  // the centres meet
        {1920, 1080, 0, 700, 0, 389},      // over the left bar: the left edge, same height
        {1920, 1080, 1919, 20, 799, 11},   // over the right bar
        {1280, 1024, 640, 10, 400, 0},     // over the top bar
        {1280, 1024, 640, 1020, 400, 599}, // over the bottom bar
        {800, 600, -50, 9999, 0, 599},     // outside the window altogether
        {1, 1, 0, 0, 400, 300},            // a one-pixel window: its pixel is the centre
        {640, 480, 639, 0, 799, 0},        // scaled down
    };
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        CScreen::ToFrame(CScreen::Fit(c.w, c.h), c.h, x, y);
        EXPECT_EQ(x, c.frameX) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        EXPECT_EQ(y, c.frameY) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
    // Scaled up, the window pixel at the middle of each frame pixel maps back onto it.
    for (auto [w, h] : {std::pair{1920, 1080}, {1280, 720}, {1921, 1081}, {1024, 1024}, {3840, 2160}}) {
        const Rect fit = CScreen::Fit(w, h);
        const int top = h - fit.y - fit.height;
        for (int f = 0; f < CScreen::kFrameWidth; ++f) {
            int x = fit.x + static_cast<int>((f + 0.5) * fit.width / CScreen::kFrameWidth), y = top;
            CScreen::ToFrame(fit, h, x, y);
            ASSERT_EQ(x, f) << w << "x" << h;
        }
        for (int f = 0; f < CScreen::kFrameHeight; ++f) {
            int x = fit.x, y = top + static_cast<int>((f + 0.5) * fit.height / CScreen::kFrameHeight);
            CScreen::ToFrame(fit, h, x, y);
            ASSERT_EQ(y, f) << w << "x" << h;
        }
    }
}
}  // namespace
