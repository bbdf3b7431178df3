// SPDX-License-Identifier: GPL-3.0-or-later
// Floor, wall, water and particle textures.
#include <cmath>

#include "generators.h"
#include "image.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

// Meadow with dirt paths and pebbles; the floor repeats every 32 world units.
Image PaintFloor() {
    constexpr int kSize = 512;
    Image img(kSize, kSize);
    const Color grassDark = Rgb(58, 96, 38), grassLight = Rgb(112, 150, 62);
    const Color dirt = Rgb(122, 98, 66), dirtDark = Rgb(92, 72, 50);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = x / 64.0f, v = y / 64.0f;
            const float g = Fbm(u, v, 11, 5, 8);
            const float blades = Hash2(x, y, 5) * 0.5f + ValueNoise(x * 0.5f, y * 0.5f, 6, 256) * 0.5f;
            Color c = Lerp(grassDark, grassLight, Clamp01(g * 1.3f - 0.15f));
            c = Scale(c, 0.85f + 0.3f * blades);
            const float patch = Fbm(u * 0.5f, v * 0.5f, 23, 4, 4);
            const float d = SmoothStep(0.56f, 0.64f, patch);
            if (d > 0) {
                Color earth = Lerp(dirtDark, dirt, Fbm(u * 4, v * 4, 29, 3, 32));
                earth = Scale(earth, 0.9f + 0.2f * Hash2(x, y, 31));
                c = Lerp(c, earth, d);
            }
            img.At(x, y) = c;
        }
    }
    Random rng(77);
    for (int i = 0; i < 140; ++i) {  // pebbles, wrapped at the edges so the tile stays seamless
        const float px = rng.Range(0, kSize), py = rng.Range(0, kSize), r = rng.Range(1.2f, 3.2f);
        const Color stone = Scale(Rgb(150, 146, 138), rng.Range(0.75f, 1.1f));
        for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox) {
                img.FillEllipse(px + ox * kSize + 0.6f, py + oy * kSize + 0.8f, r, r * 0.8f, Color{0, 0, 0, 0.35f});
                img.FillEllipse(px + ox * kSize, py + oy * kSize, r, r * 0.8f, stone);
            }
    }
    return img;
}

// Dressed stone blocks in running bond: one picture per wall face.
Image PaintWall() {
    constexpr int kSize = 256, kRows = 4, kRowHeight = kSize / kRows, kBlock = kSize / 2;
    Image img(kSize, kSize);
    const Color mortar = Rgb(70, 64, 58);
    Random rng(3);
    for (int row = 0; row < kRows; ++row) {
        const int shift = (row % 2) * (kBlock / 2);
        for (int b = -1; b < 2; ++b) {
            const int x0 = b * kBlock + shift, y0 = row * kRowHeight;
            const Color stone = Scale(Lerp(Rgb(150, 140, 122), Rgb(120, 118, 112), rng.Unit()), rng.Range(0.9f, 1.08f));
            const uint32_t seed = 100 + row * 7 + b;
            for (int y = 0; y < kRowHeight; ++y) {
                for (int x = 0; x < kBlock; ++x) {
                    const int px = ((x0 + x) % kSize + kSize) % kSize, py = y0 + y;
                    const int gap = 3;
                    if (x < gap || y < gap) {
                        img.At(px, py) = Scale(mortar, 0.85f + 0.3f * Hash2(px, py, 9));
                        continue;
                    }
                    const float n = Fbm(px / 24.0f, py / 24.0f, seed, 4, 0);
                    float k = 0.8f + 0.45f * n;
                    if (x < gap + 3 || y < gap + 3) k *= 1.18f;               // lit bevel
                    if (x > kBlock - 4 || y > kRowHeight - 4) k *= 0.72f;     // shaded bevel
                    if (Hash2(px / 3, py / 3, seed) > 0.97f) k *= 0.7f;        // pits
                    img.At(px, py) = Scale(stone, k);
                }
            }
        }
    }
    // A few cracks and moss at the foot of the wall.
    for (int i = 0; i < 5; ++i) {
        float x = rng.Range(10, 246), y = rng.Range(10, 200);
        for (int s = 0; s < 6; ++s) {
            const float nx = x + rng.Range(-8, 8), ny = y + rng.Range(3, 9);
            img.Line(x, y, nx, ny, 1.0f, Color{0.2f, 0.18f, 0.16f, 0.8f});
            x = nx;
            y = ny;
        }
    }
    for (int y = 180; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float m = Fbm(x / 16.0f, y / 16.0f, 41, 3, 16) * SmoothStep(180, 256, y);
            if (m > 0.35f) img.At(x, y) = Lerp(img.At(x, y), Rgb(66, 104, 46), Clamp01((m - 0.35f) * 3));
        }
    return img;
}

// Rippling water with bright caustic lines; frame k of 4 is a quarter period
// later, and every wave fits the tile a whole number of times, so both the
// picture and the animation wrap without a seam.
Image PaintWater(int frame, bool translucent) {
    constexpr int kSize = 128;
    struct Wave { int kx, ky; float amp, phase; int speed; };
    static const Wave kWaves[] = {
        {1, 2, 1.0f, 0.3f, 1},  {3, -1, 0.8f, 1.7f, -1}, {-2, 3, 0.6f, 2.9f, 1},
        {4, 1, 0.5f, 0.9f, 2},  {-1, -4, 0.4f, 4.1f, -1}, {5, -3, 0.3f, 5.3f, 1},
    };
    Image img(kSize, kSize);
    const Color deep = Rgb(18, 62, 104), shallow = Rgb(40, 120, 150), foam = Rgb(210, 236, 246);
    const float t = frame / 4.0f;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float h = 0;
            for (const Wave& w : kWaves)
                h += w.amp * std::sin(2 * kPi * (w.kx * x + w.ky * y) / kSize + w.phase + 2 * kPi * w.speed * t);
            const float n = h / 3.6f;  // about -1..1
            const float caustic = std::pow(1.0f - std::fabs(n), 6.0f);
            Color c = Lerp(deep, shallow, 0.5f + 0.5f * n);
            c = Lerp(c, foam, 0.55f * caustic);
            c.a = translucent ? 0.55f + 0.35f * caustic : 1.0f;
            img.At(x, y) = c;
        }
    }
    return img;
}

// White sprite with soft alpha: the particles take their colour from the vertex.
Image PaintParticle() {
    constexpr int kSize = 64;
    Image img(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - kSize / 2.0f) / (kSize / 2.0f);
            const float dy = (y + 0.5f - kSize / 2.0f) / (kSize / 2.0f);
            const float r = std::sqrt(dx * dx + dy * dy);
            const float glow = Clamp01(1.0f - r);
            const float a = glow * glow * (0.6f + 0.4f * std::exp(-r * r * 18.0f));
            const float core = 0.75f + 0.25f * std::exp(-r * r * 10.0f);
            img.At(x, y) = Color{core, core, core, a};
        }
    return img;
}

}  // namespace

bool GenerateTerrainTextures(const std::string& root) {
    const std::string dir = root + "/Textures/";
    bool ok = WriteTga(dir + "floor1.tga", PaintFloor(), TgaKind::Raw24);
    ok = WriteTga(dir + "wall1.tga", PaintWall(), TgaKind::Rle24) && ok;
    for (int k = 0; k < 4; ++k)
        ok = WriteTga(dir + "water" + std::to_string(k) + ".tga", PaintWater(k, false), TgaKind::Raw24) && ok;
    ok = WriteTga(dir + "water.tga", PaintWater(0, true), TgaKind::Raw32) && ok;
    ok = WriteTga(dir + "particle.tga", PaintParticle(), TgaKind::Raw32) && ok;
    return ok;
}

}  // namespace assetgen
