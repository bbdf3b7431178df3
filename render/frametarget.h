// SPDX-License-Identifier: GPL-3.0-or-later
// Where the frame is drawn: straight into the window, or into an off-screen frame of the
// game's own size that is then scaled onto the window between black bars (CScreen).
#pragma once

#include <cstdint>

class CFrameTarget {
public:
    // A framebuffer (0, the window) and the frame's rectangle in it.
    struct Target {
        uint32_t framebuffer;
        int x, y, width, height;
    };

    // This frame's target: the window itself when it has the frame's size (the picture
    // exactly as always) or when fullResolution asks for the frame at its size on the
    // screen; else the off-screen frame, made on the first call. Without off-screen
    // drawing, the frame's rectangle in the window, and a word once when the window is
    // smaller than the shadow map, which is then drawn in the frame's corner.
    const Target& Choose(bool fullResolution, int shadowMapSide);
    const Target& Get() const { return target; }
    // Scales the off-screen frame onto the window with black bars; nothing when the frame
    // was drawn in the window.
    void Show();

private:
    bool MakeFrameBuffer();

    Target target = {0, 0, 0, 0, 0};
    uint32_t frameBuffer = 0;
    bool frameBufferTried = false;
    bool toldTooSmall = false;
};
