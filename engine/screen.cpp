// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting the frame into the window, and the cursor back.
#include "engine/screen.h"

#include <algorithm>
#include <cstdint>

int CScreen::windowWidth = CScreen::kFrameWidth;
int CScreen::windowHeight = CScreen::kFrameHeight;

CScreen::Rect CScreen::Fit(int w, int h)
{
    w = std::max(1, w), h = std::max(1, h);
    // In 64 bits: the products of the largest sides do not fit in an int.
    const int64_t byWidth = int64_t{w} * kFrameHeight, byHeight = int64_t{h} * kFrameWidth;
    int width, height;
    if (byWidth <= byHeight) {
        // As wide as the window, bars above and below; the height rounded to nearest.
        width = w;
        height = static_cast<int>((byWidth + kFrameWidth / 2) / kFrameWidth);
    } else {
        height = h;
        width = static_cast<int>((byHeight + kFrameHeight / 2) / kFrameHeight);
    }
    width = std::clamp(width, 1, w), height = std::clamp(height, 1, h);
    return {(w - width) / 2, (h - height) / 2, width, height};
}

void CScreen::ToFrame(const Rect& fit, int windowH, int& x, int& y)
{
    // The pixel's centre, scaled, then rounded down: a window of the frame's own size
    // maps every pixel onto itself.
    const int top = windowH - fit.y - fit.height;
    const int64_t fx = ((int64_t{x} - fit.x) * 2 + 1) * kFrameWidth;
    const int64_t fy = ((int64_t{y} - top) * 2 + 1) * kFrameHeight;
    auto down = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    x = static_cast<int>(std::clamp<int64_t>(down(fx, int64_t{2} * fit.width), 0, kFrameWidth - 1));
    y = static_cast<int>(std::clamp<int64_t>(down(fy, int64_t{2} * fit.height), 0, kFrameHeight - 1));
}

void CScreen::SetWindow(int width, int height)
{
    windowWidth = std::max(1, width);
    windowHeight = std::max(1, height);
}
