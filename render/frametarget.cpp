// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's target and its way onto the window.
#include "render/frametarget.h"

#include <GL/glew.h>

#include <cctype>
#include <iostream>
#include <string>

#include "engine/screen.h"
#include "render/framebuffer.h"

namespace {
constexpr int kFrameHeight = CScreen::kFrameHeight;
}  // namespace

bool IsSoftwareRenderer(const char* renderer)
{
    std::string name = renderer ? renderer : "";
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // "llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", swrast's "Software Rasterizer",
    // "zink (lavapipe)"...
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "lavapipe"}) {
        if (name.find(software) != std::string::npos)
            return true;
    }
    return false;
}

const CFrameTarget::Target& CFrameTarget::Choose(bool sharp, int shadowMapSide)
{
    const int windowWidth = CScreen::WindowWidth(), windowHeight = CScreen::WindowHeight();
    const int frameWidth = CScreen::FrameWidth();
    const CScreen::Rect fit = CScreen::Frame();
    if (windowWidth == frameWidth && windowHeight == kFrameHeight) {
        target = {0, 0, 0, frameWidth, kFrameHeight};
    } else if (sharp && fit.width >= frameWidth && fit.height >= kFrameHeight) {
        // Drawn larger than its own size, the frame leaves the shadow map's corner room.
        target = {0, fit.x, fit.y, fit.width, fit.height};
    } else if (MakeFrameBuffer(frameWidth)) {
        target = {frameBuffer, 0, 0, frameWidth, kFrameHeight};
    } else {
        if (!toldTooSmall && (windowWidth < shadowMapSide || windowHeight < shadowMapSide))
            std::cerr << "VELQ: without off-screen drawing the shadows need a window of " << shadowMapSide << "x"
                      << shadowMapSide << " or more\n";
        toldTooSmall = true;
        target = {0, fit.x, fit.y, fit.width, fit.height};
    }
    return target;
}

bool CFrameTarget::MakeFrameBuffer(int width)
{
    if (frameBufferTried && frameBuffer == 0)
        return false;
    if (!frameBufferTried) {
        frameBufferTried = true;
        if (!CanDrawOffscreen(true))
            return false;
        colourBuffer = NewRenderbuffer(GL_RGBA8, width, kFrameHeight);
        depthBuffer = NewRenderbuffer(GL_DEPTH24_STENCIL8_EXT, width, kFrameHeight);
        frameBuffer = MakeFramebuffer({{GL_COLOR_ATTACHMENT0_EXT, colourBuffer, false},
                                       {GL_DEPTH_ATTACHMENT_EXT, depthBuffer, false},
                                       {GL_STENCIL_ATTACHMENT_EXT, depthBuffer, false}});
        frameBufferWidth = width;
        return frameBuffer != 0;
    }
    if (width != frameBufferWidth) {
        // The same buffers, new storage: the framebuffer that holds them stays whole.
        for (const auto& [buffer, format] : {std::pair{colourBuffer, GLenum{GL_RGBA8}},
                                             std::pair{depthBuffer, GLenum{GL_DEPTH24_STENCIL8_EXT}}}) {
            glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, buffer);
            glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, format, width, kFrameHeight);
        }
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
        frameBufferWidth = width;
    }
    return true;
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
    glBlitFramebufferEXT(0, 0, target.width, target.height, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                         GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}
