// SPDX-License-Identifier: GPL-3.0-or-later
// The frame drawn sharp at the screen's resolution or at 600 lines and scaled up: by the
// setting, or by the renderer's name.
#include "render/frametarget.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameTarget, DrawsSharpOnAGraphicsCardAndScaledOnASoftwareRendererUnlessTheSettingChooses)
{
    const struct { const char* renderer; bool software; } renderers[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},  // swrast
        {"Mesa X11 swrast", true},
        {"zink (lavapipe)", true},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
        {"", false},
        {nullptr, false},
    };
    for (const auto& r : renderers) {
        EXPECT_EQ(IsSoftwareRenderer(r.renderer), r.software) << (r.renderer ? r.renderer : "null");
        // The setting's -1 follows the renderer; 1 and 0 keep the meaning they always had.
        EXPECT_EQ(DrawsSharp(-1, r.software), !r.software);
        EXPECT_TRUE(DrawsSharp(1, r.software));
        EXPECT_FALSE(DrawsSharp(0, r.software));
    }
}

}  // namespace
