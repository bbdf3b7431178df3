// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's width, its place in the window, and the cursor back.
#include "engine/screen.h"

#include <algorithm>
#include <cstdint>

int CScreen::windowWidth = CScreen::kFrameWidth;
int CScreen::windowHeight = CScreen::kFrameHeight;
int CScreen::widescreen = 1;

int CScreen::FrameWidthFor(int w, int h, bool wide)
{
    w = std::max(1, w), h = std::max(1, h);
    if (!wide)
        return kFrameWidth;
    // In 64 bits: the products of the largest sides do not fit in an int. The nearest
    // even width: twice the nearest whole number of pixel pairs.
    const int64_t pairs = (int64_t{w} * kFrameHeight + h) / (int64_t{2} * h);
    return static_cast<int>(std::clamp<int64_t>(2 * pairs, kFrameWidth, kMaxFrameWidth));
}

CScreen::Rect CScreen::Fit(int w, int h, int frameWidth)
{
    w = std::max(1, w), h = std::max(1, h);
    const bool wide = frameWidth > kFrameWidth;
    if (wide && FrameWidthFor(w, h, true) == frameWidth && frameWidth < kMaxFrameWidth)
        return {0, 0, w, h};  // the frame has the window's shape, to less than a pixel
    const int64_t byWidth = int64_t{w} * kFrameHeight, byHeight = int64_t{h} * frameWidth;
    int width, height;
    if (byWidth <= byHeight) {
        // As wide as the window, bars above and below; the height rounded to nearest.
        width = w;
        height = static_cast<int>((byWidth + frameWidth / 2) / frameWidth);
    } else {
        height = h;
        width = static_cast<int>((byHeight + kFrameHeight / 2) / kFrameHeight);
    }
    width = std::clamp(width, 1, w), height = std::clamp(height, 1, h);
    return {(w - width) / 2, (h - height) / 2, width, height};
}

void CScreen::ToFrame(const Rect& fit, int windowH, int frameWidth, int& x, int& y)
{
    // The pixel's centre, scaled, then rounded down: a window of the frame's own size
    // maps every pixel onto itself.
    const int top = windowH - fit.y - fit.height;
    const int64_t fx = ((int64_t{x} - fit.x) * 2 + 1) * frameWidth;
    const int64_t fy = ((int64_t{y} - top) * 2 + 1) * kFrameHeight;
    auto down = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    x = static_cast<int>(std::clamp<int64_t>(down(fx, int64_t{2} * fit.width), 0, frameWidth - 1));
    y = static_cast<int>(std::clamp<int64_t>(down(fy, int64_t{2} * fit.height), 0, kFrameHeight - 1));
}

void CScreen::SetWindow(int width, int height)
{
    windowWidth = std::max(1, width);
    windowHeight = std::max(1, height);
}
