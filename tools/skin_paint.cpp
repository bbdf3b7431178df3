// SPDX-License-Identifier: GPL-3.0-or-later
// Shaded panels and bands on skin atlas rects.
#include "skin_paint.h"

#include <cmath>

namespace assetgen {

void PaintRect(Image& img, const Rect& r, const Color& c, uint32_t seed, float noise, float edge) {
    img.PaintPanel(r.x - 1, r.y - 1, r.w + 2, r.h + 2, c, seed, noise, edge);
}

void PaintBox(Image& img, const BoxFaces& f, const Color& c, uint32_t seed) {
    PaintRect(img, f.right, c, seed);
    PaintRect(img, f.front, c, seed + 1);
    PaintRect(img, f.left, c, seed + 2);
    PaintRect(img, f.back, Scale(c, 0.92f), seed + 3);
    PaintRect(img, f.top, Scale(c, 1.12f), seed + 4);
    PaintRect(img, f.bottom, Scale(c, 0.7f), seed + 5);
}

void PaintPrism(Image& img, const PrismFaces& f, const Color& c, uint32_t seed) {
    PaintRect(img, f.side, c, seed, 0.12f, 0.15f);
    if (f.top.w > 0) PaintRect(img, f.top, Scale(c, 1.1f), seed + 1);
    if (f.bottom.w > 0) PaintRect(img, f.bottom, Scale(c, 0.7f), seed + 2);
}

void PaintBand(Image& img, const Rect& r, float y0, float y1, const Color& c) {
    const int a = r.y + static_cast<int>(std::lround(y0 * r.h)), b = r.y + static_cast<int>(std::lround(y1 * r.h));
    for (int y = a; y < b; ++y)
        for (int x = r.x - 1; x < r.x + r.w + 1; ++x) img.Blend(x, y, c);
}

void PaintInset(Image& img, const Rect& r, float x0, float y0, float x1, float y1, const Color& c) {
    const int a = r.x + static_cast<int>(std::lround(x0 * r.w)), b = r.x + static_cast<int>(std::lround(x1 * r.w));
    const int top = r.y + static_cast<int>(std::lround(y0 * r.h)), bottom = r.y + static_cast<int>(std::lround(y1 * r.h));
    for (int y = top; y < bottom; ++y)
        for (int x = a; x < b; ++x) {
            const bool rim = y == top || x == a;        // lit upper-left edge
            const bool shade = y == bottom - 1 || x == b - 1;
            img.Blend(x, y, rim ? Scale(c, 1.25f) : (shade ? Scale(c, 0.7f) : c));
        }
}

void PaintRivets(Image& img, const Rect& r, const Color& c) {
    if (r.w < 6 || r.h < 6) return;
    for (float fx : {1.8f, r.w - 1.8f})
        for (float fy : {1.8f, r.h - 1.8f}) {
            img.FillEllipse(r.x + fx + 0.3f, r.y + fy + 0.3f, 0.9f, 0.9f, Color{0, 0, 0, 0.5f});
            img.FillEllipse(r.x + fx, r.y + fy, 0.8f, 0.8f, c);
        }
}

}  // namespace assetgen
