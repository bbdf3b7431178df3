// SPDX-License-Identifier: GPL-3.0-or-later
// An RGBA picture to paint textures and skins on, and its TGA encoding.
#pragma once

#include <string>
#include <vector>

#include "common.h"

namespace assetgen {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color Rgb(int r, int g, int b, float a = 1.0f);
Color Scale(const Color& c, float k);  // rgb times k, alpha kept
Color Lerp(const Color& a, const Color& b, float t);

// Pixels as floats 0..1; row 0 is the top row of the picture.
class Image {
public:
    Image(int width, int height, Color fill = Color{});
    int Width() const { return width; }
    int Height() const { return height; }
    Color& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Color& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Blends c over the pixel with weight c.a * cover; outside pixels are ignored.
    void Blend(int x, int y, const Color& c, float cover = 1.0f);
    void FillRect(int x, int y, int w, int h, const Color& c);
    // Fills a rectangle with c modulated by value noise and lit from the top
    // (rows nearer the top brighter), with darker edges, like a painted panel.
    void PaintPanel(int x, int y, int w, int h, const Color& c, uint32_t seed, float noise = 0.15f,
                    float edge = 0.25f);
    void FillEllipse(float cx, float cy, float rx, float ry, const Color& c);
    void Line(float x0, float y0, float x1, float y1, float width, const Color& c);

private:
    int width, height;
    std::vector<Color> pixels;
};

enum class TgaKind { Raw24, Raw32, Rle24, Rle32 };

// Encodes the image as a true-colour TGA (type 2 or 10, 24 or 32 bits),
// rows stored bottom-up with a zero image descriptor apart from the alpha bits.
Bytes EncodeTga(const Image& image, TgaKind kind);
bool WriteTga(const std::string& path, const Image& image, TgaKind kind);

}  // namespace assetgen
