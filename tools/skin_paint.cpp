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

}  // namespace assetgen
