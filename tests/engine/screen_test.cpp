// SPDX-License-Identifier: GPL-3.0-or-later
// The frame on windows of every shape: how wide it is, where it stands, and the cursor
// back into it.
#include "engine/screen.h"

#include <gtest/gtest.h>


namespace {

using Rect = CScreen::Rect;

TEST(Screen, FrameWidensToAWideWindowsShapeEvenAndAtMostFourToOne)
{
    const struct { int w, h; bool wide; int width; } cases[] = {
        {800, 600, true, 800},     {1024, 768, true, 800},   // 4:3
        {1280, 1024, true, 800},   {600, 800, true, 800},    // narrower: 4:3 with bars
        {1920, 1080, true, 1066},  // 1066.67: the nearest even width
        {1280, 800, true, 960},    {1000, 400, true, 1500},  {2560, 1080, true, 1422},
        {1366, 768, true, 1068},   // 1067.19: the even widths round to nearest
        {801, 600, true, 802},     {803, 600, true, 804},    // just wider than 4:3: half rounds up
        {5000, 600, true, 2400},   {16384, 1, true, 2400},   // wider than 4:1: 4:1, bars beside
        {0, -5, true, 800},        // no size counts as one pixel
        {1920, 1080, false, 800},  // the 4:3 picture kept
    };
    for (const auto& c : cases)
        EXPECT_EQ(CScreen::FrameWidthFor(c.w, c.h, c.wide), c.width) << c.w << "x" << c.h << " wide " << c.wide;
}

TEST(Screen, FrameFillsTheWindowWithItsProportionsCentredAndAtLeastOnePixel)
{
    const struct { int w, h, frameWidth; Rect fit; } cases[] = {
        {800, 600, 800, {0, 0, 800, 600}},        // the frame's own size
        {1920, 1080, 800, {240, 0, 1440, 1080}},  // 4:3 kept: bars beside
        {1280, 720, 800, {160, 0, 960, 720}},
        {1280, 1024, 800, {0, 32, 1280, 960}},    // bars above and below
        {640, 480, 800, {0, 0, 640, 480}},        // smaller: scaled down
        {1921, 1081, 800, {240, 0, 1441, 1081}},  // odd: 1441.33 rounded, the odd pixel of bar on the right
        {799, 601, 800, {0, 1, 799, 599}},        // 599.25 rounded
        {1, 1, 800, {0, 0, 1, 1}},
        {1000, 1, 800, {499, 0, 1, 1}},
        {1, 1000, 800, {0, 499, 1, 1}},
        {0, -5, 800, {0, 0, 1, 1}},               // no size counts as one pixel
        {16384, 16384, 800, {0, 2048, 16384, 12288}},
        {1920, 1080, 1066, {0, 0, 1920, 1080}},   // widened: the whole window
        {1000, 400, 1500, {0, 0, 1000, 400}},
        {5000, 600, 2400, {1300, 0, 2400, 600}},  // past 4:1: bars beside the widest frame
        {2400, 600, 2400, {0, 0, 2400, 600}},
        {1280, 800, 1066, {0, 40, 1280, 720}},    // a width of another window: fitted
    };
    for (const auto& c : cases)
        EXPECT_EQ(CScreen::Fit(c.w, c.h, c.frameWidth), c.fit) << c.w << "x" << c.h << " frame " << c.frameWidth;
}

TEST(Screen, CursorMapsIntoTheFrameAndOverTheBarsToTheNearestEdge)
{
    const struct { int w, h, frameWidth, x, y, frameX, frameY; } cases[] = {
        {800, 600, 800, 0, 0, 0, 0},          {800, 600, 800, 799, 599, 799, 599},
        {800, 600, 800, 123, 457, 123, 457},
        {1920, 1080, 800, 240, 0, 0, 0},      {1920, 1080, 800, 1679, 1079, 799, 599},
        {1920, 1080, 800, 960, 540, 400, 300},  // the centres meet
        {1920, 1080, 800, 0, 700, 0, 389},      // over the left bar: the left edge, same height
        {1920, 1080, 800, 1919, 20, 799, 11},   // over the right bar
        {1280, 1024, 800, 640, 10, 400, 0},     // over the top bar
        {1280, 1024, 800, 640, 1020, 400, 599}, // over the bottom bar
        {800, 600, 800, -50, 9999, 0, 599},     // outside the window altogether
        {1, 1, 800, 0, 0, 400, 300},            // a one-pixel window: its pixel is the centre
        {640, 480, 800, 639, 0, 799, 0},        // scaled down
        {1920, 1080, 1066, 0, 0, 0, 0},         // widened: edge to edge
        {1920, 1080, 1066, 1919, 1079, 1065, 599},
        {1920, 1080, 1066, 960, 540, 533, 300},
        {1280, 800, 960, 1279, 400, 959, 300},
        {1000, 400, 1500, 2, 0, 3, 0},          // scaled up by 1.5
        {1000, 400, 1500, 999, 399, 1499, 599},
    };
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        CScreen::ToFrame(CScreen::Fit(c.w, c.h, c.frameWidth), c.h, c.frameWidth, x, y);
        EXPECT_EQ(x, c.frameX) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
        EXPECT_EQ(y, c.frameY) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
    // Scaled up, the window pixel at the middle of each frame pixel maps back onto it.
    for (auto [w, h] : {std::pair{1920, 1080}, {1280, 720}, {1921, 1081}, {1024, 1024}, {3840, 2160}}) {
        for (bool wide : {false, true}) {
            const int width = CScreen::FrameWidthFor(w, h, wide);
            const Rect fit = CScreen::Fit(w, h, width);
            const int top = h - fit.y - fit.height;
            for (int f = 0; f < width; ++f) {
                int x = fit.x + static_cast<int>((f + 0.5) * fit.width / width), y = top;
                CScreen::ToFrame(fit, h, width, x, y);
                ASSERT_EQ(x, f) << w << "x" << h;
            }
            for (int f = 0; f < CScreen::kFrameHeight; ++f) {
                int x = fit.x, y = top + static_cast<int>((f + 0.5) * fit.height / CScreen::kFrameHeight);
                CScreen::ToFrame(fit, h, width, x, y);
                ASSERT_EQ(y, f) << w << "x" << h;
            }
        }
    }
}
}  // namespace
