// SPDX-License-Identifier: GPL-3.0-or-later
// Painting helpers that colour the atlas rects of a mesh's parts.
#pragma once

#include "image.h"
#include "mesh.h"

namespace assetgen {

// Paints r (and a one-texel rim around it, so filtering at the seams picks up
// the same colour) as a shaded panel.
void PaintRect(Image& img, const Rect& r, const Color& c, uint32_t seed, float noise = 0.12f, float edge = 0.3f);
// Paints every face of a box: sides in c, the top a little lighter, the bottom darker.
void PaintBox(Image& img, const BoxFaces& f, const Color& c, uint32_t seed);
void PaintPrism(Image& img, const PrismFaces& f, const Color& c, uint32_t seed);
// Horizontal band across a rect, from fraction y0 to y1 of its height.
void PaintBand(Image& img, const Rect& r, float y0, float y1, const Color& c);
// Rectangle inside r given in fractions of its width and height.
void PaintInset(Image& img, const Rect& r, float x0, float y0, float x1, float y1, const Color& c);
// A bolt head near each corner of r.
void PaintRivets(Image& img, const Rect& r, const Color& c);

}  // namespace assetgen
