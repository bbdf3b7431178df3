// SPDX-License-Identifier: GPL-3.0-or-later
// Where the frame is drawn: straight into the window, or into an off-screen frame of the
// game's own size (600 lines, CScreen's width) that is then scaled onto the window,
// between black bars where it does not fill it (CScreen).
#pragma once

#include <cstdint>

// A software renderer by GL_RENDERER's text (Mesa's llvmpipe, softpipe, swrast and
// lavapipe under Zink): it pays for every pixel. Null counts as a graphics card.
bool IsSoftwareRenderer(const char* renderer);
// Whether the frame is drawn at its size on the screen (sharp) rather than at its own
// and scaled up: fullResolution 1 and 0 choose so; -1 leaves it to the renderer, sharp
// on a graphics card and scaled on a software renderer.
inline bool DrawsSharp(int fullResolution, bool softwareRenderer)
{
    return fullResolution < 0 ? !softwareRenderer : fullResolution != 0;
}

class CFrameTarget {
public:
    // A framebuffer (0, the window) and the frame's rectangle in it.
    struct Target {
        uint32_t framebuffer;
        int x, y, width, height;
    };

    // This frame's target: the window itself when it has the frame's size (the picture
    // exactly as always) or when sharp asks for the frame at its size on the screen;
    // else the off-screen frame, made on the first call and remade at a new width.
    // Without off-screen drawing, the frame's rectangle in the window, and a word once
    // when the window is smaller than the shadow map, which is then drawn in the
    // frame's corner.
    const Target& Choose(bool sharp, int shadowMapSide);
    const Target& Get() const { return target; }
    // Scales the off-screen frame onto the window with black bars; nothing when the frame
    // was drawn in the window.
    void Show();

private:
    // The off-screen frame at this width; false without the GL for it.
    bool MakeFrameBuffer(int width);

    Target target = {0, 0, 0, 0, 0};
    uint32_t frameBuffer = 0, colourBuffer = 0, depthBuffer = 0;
    int frameBufferWidth = 0;  // the width the buffers have
    bool frameBufferTried = false;
    bool toldTooSmall = false;
};
