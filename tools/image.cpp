// SPDX-License-Identifier: GPL-3.0-or-later
// Painting primitives and the TGA encoder (uncompressed and run-length).
#include "image.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Color Rgb(int r, int g, int b, float a) { return Color{r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Color Scale(const Color& c, float k) { return Color{c.r * k, c.g * k, c.b * k, c.a}; }

Color Lerp(const Color& a, const Color& b, float t) {
    return Color{Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

Image::Image(int w, int h, Color fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void Image::Blend(int x, int y, const Color& c, float cover) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    Color& p = At(x, y);
    const float t = Clamp01(c.a * cover);
    p.r = Mix(p.r, c.r, t);
    p.g = Mix(p.g, c.g, t);
    p.b = Mix(p.b, c.b, t);
    p.a = p.a + (1 - p.a) * t;
}

void Image::FillRect(int x, int y, int w, int h, const Color& c) {
    for (int j = std::max(0, y); j < std::min(height, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(width, x + w); ++i) At(i, j) = c;
}

void Image::PaintPanel(int x, int y, int w, int h, const Color& c, uint32_t seed, float noise, float edge) {
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const float n = Fbm((x + i) * 0.15f, (y + j) * 0.15f, seed, 3) - 0.5f;
            const float top = 1.08f - 0.16f * (h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f);
            const float dx = std::min(i, w - 1 - i), dy = std::min(j, h - 1 - j);
            const float rim = 1.0f - edge * (1.0f - SmoothStep(0.0f, 2.5f, std::min(dx, dy)));
            Color p = Scale(c, (1.0f + noise * 2 * n) * top * rim);
            p.a = c.a;
            if (x + i >= 0 && y + j >= 0 && x + i < width && y + j < height) At(x + i, y + j) = p;
        }
    }
}

void Image::FillEllipse(float cx, float cy, float rx, float ry, const Color& c) {
    for (int j = static_cast<int>(cy - ry - 1); j <= static_cast<int>(cy + ry + 1); ++j) {
        for (int i = static_cast<int>(cx - rx - 1); i <= static_cast<int>(cx + rx + 1); ++i) {
            const float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float cover = Clamp01((1.0f - d) * std::min(rx, ry) + 0.5f);
            if (cover > 0) Blend(i, j, c, cover);
        }
    }
}

void Image::Line(float x0, float y0, float x1, float y1, float w, const Color& c) {
    const float len = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(len * 2));
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / steps;
        const float px = Mix(x0, x1, t), py = Mix(y0, y1, t);
        for (int j = static_cast<int>(py - w); j <= static_cast<int>(py + w); ++j) {
            for (int i = static_cast<int>(px - w); i <= static_cast<int>(px + w); ++i) {
                const float cover = Clamp01(w * 0.5f + 0.5f - std::hypot(i + 0.5f - px, j + 0.5f - py));
                if (cover <= 0 || i < 0 || j < 0 || i >= width || j >= height) continue;
                Color& p = At(i, j);
                const float keep = p.a;
                p = Lerp(p, c, cover * c.a);
                p.a = std::max(keep, c.a * cover);
            }
        }
    }
}

static uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

Bytes EncodeTga(const Image& image, TgaKind kind) {
    const bool rle = kind == TgaKind::Rle24 || kind == TgaKind::Rle32;
    const int bpp = (kind == TgaKind::Raw32 || kind == TgaKind::Rle32) ? 4 : 3;
    ByteWriter out;
    out.U8(0);               // no image ID
    out.U8(0);               // no colour map
    out.U8(rle ? 10 : 2);    // true colour, raw or run-length
    for (int i = 0; i < 5; ++i) out.U8(0);
    out.U16(0);              // x origin
    out.U16(0);              // y origin
    out.U16(image.Width());
    out.U16(image.Height());
    out.U8(bpp * 8);
    out.U8(bpp == 4 ? 8 : 0);  // alpha bits; rows bottom-up

    // One row of packed pixels at a time, bottom row first.
    std::vector<uint32_t> row(image.Width());
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Color& c = image.At(x, y);
            const uint32_t a = bpp == 4 ? ToByte(c.a) : 255;
            row[x] = ToByte(c.b) | (ToByte(c.g) << 8) | (ToByte(c.r) << 16) | (a << 24);
        }
        auto put = [&](uint32_t p) {
            for (int k = 0; k < bpp; ++k) out.U8((p >> (8 * k)) & 0xff);
        };
        if (!rle) {
            for (uint32_t p : row) put(p);
            continue;
        }
        // Packets never cross rows, which keeps every decoder happy.
        const int n = image.Width();
        int x = 0;
        while (x < n) {
            int run = 1;
            while (x + run < n && run < 128 && row[x + run] == row[x]) ++run;
            if (run >= 2) {
                out.U8(127 + run);
                put(row[x]);
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < n && raw < 128 && !(x + raw + 1 < n && row[x + raw] == row[x + raw + 1])) ++raw;
            out.U8(raw - 1);
            for (int k = 0; k < raw; ++k) put(row[x + k]);
            x += raw;
        }
    }
    return out.bytes;
}

bool WriteTga(const std::string& path, const Image& image, TgaKind kind) {
    return WriteFile(path, EncodeTga(image, kind));
}

}  // namespace assetgen
