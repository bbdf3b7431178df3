// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's target and its way onto the window.
#include "render/frametarget.h"

#include <GL/glew.h>

#include <iostream>

#include "engine/screen.h"
#include "render/framebuffer.h"

namespace {
constexpr int kFrameWidth = CScreen::kFrameWidth, kFrameHeight = CScreen::kFrameHeight;
}  // namespace

const CFrameTarget::Target& CFrameTarget::Choose(bool fullResolution, int shadowMapSide)
{
    const int windowWidth = CScreen::WindowWidth(), windowHeight = CScreen::WindowHeight();
    const CScreen::Rect fit = CScreen::Frame();
    if (windowWidth == kFrameWidth && windowHeight == kFrameHeight) {
        target = {0, 0, 0, kFrameWidth, kFrameHeight};
    } else if (fullResolution && fit.width >= kFrameWidth && fit.height >= kFrameHeight) {
        // Drawn larger than its own size, the frame leaves the shadow map's corner room.
        target = {0, fit.x, fit.y, fit.width, fit.height};
    } else if (MakeFrameBuffer()) {
        target = {frameBuffer, 0, 0, kFrameWidth, kFrameHeight};
    } else {
        if (!toldTooSmall && (windowWidth < shadowMapSide || windowHeight < shadowMapSide))
            std::cerr << "VELQ: without off-screen drawing the shadows need a window of " << shadowMapSide << "x"
                      << shadowMapSide << " or more\n";
        toldTooSmall = true;
        target = {0, fit.x, fit.y, fit.width, fit.height};
    }
    return target;
}

bool CFrameTarget::MakeFrameBuffer()
{
    if (frameBufferTried)
        return frameBuffer != 0;
    frameBufferTried = true;
    if (!CanDrawOffscreen(true))
        return false;
    const uint32_t colour = NewRenderbuffer(GL_RGBA8, kFrameWidth, kFrameHeight);
    const uint32_t depth = NewRenderbuffer(GL_DEPTH24_STENCIL8_EXT, kFrameWidth, kFrameHeight);
    frameBuffer = MakeFramebuffer({{GL_COLOR_ATTACHMENT0_EXT, colour, false},
                                   {GL_DEPTH_ATTACHMENT_EXT, depth, false},
                                   {GL_STENCIL_ATTACHMENT_EXT, depth, false}});
    return frameBuffer != 0;
}

void CFrameTarget::Show()
{
    if (target.framebuffer == 0)
        return;
    const CScreen::Rect fit = CScreen::Frame();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, CScreen::WindowWidth(), CScreen::WindowHeight());
    // Only the bars are cleared: the frame covers the rest.
    const int w = CScreen::WindowWidth(), h = CScreen::WindowHeight();
    const CScreen::Rect bars[2] = {{0, 0, fit.x > 0 ? fit.x : w, fit.x > 0 ? h : fit.y},
                                   fit.x > 0 ? CScreen::Rect{fit.x + fit.width, 0, w - fit.x - fit.width, h}
                                             : CScreen::Rect{0, fit.y + fit.height, w, h - fit.y - fit.height}};
    glEnable(GL_SCISSOR_TEST);
    for (const CScreen::Rect& bar : bars) {
        if (bar.width > 0 && bar.height > 0) {
            glScissor(bar.x, bar.y, bar.width, bar.height);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, frameBuffer);
    glBlitFramebufferEXT(0, 0, kFrameWidth, kFrameHeight, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                         GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}
