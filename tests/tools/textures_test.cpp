// SPDX-License-Identifier: GPL-3.0-or-later
// The eighteen texture files: read by the game's reader, and pictures laid out as the
// drawing code expects (the white of the glyphs is checked on
// screen by the render end-to-end test).
#include "asset_files.h"

using namespace assettest;

namespace {

const char* const kTextures[] = {"water0.tga", "water1.tga", "water2.tga", "water3.tga", "floor1.tga", "wall1.tga",
    "flak.tga", "water.tga", "hobgoblin.tga", "particle.tga", "turret.tga", "skybox_west.tga", "skybox_south.tga",
    "skybox_east.tga", "skybox_north.tga", "skybox_up.tga", "skybox_down.tga", "font.tga"};


bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Alpha summed over a rectangle of one font cell, in picture coordinates.
int Coverage(const Tga& font, int cell, int x0, int y0, int x1, int y1) {
    const int cx = (cell % 16) * 16, cy = (cell / 16) * 16;
    int sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += font.Pixel(cx + x, cy + y)[3];
    return sum;
}

}  // namespace

TEST(Textures, EverySlotFileLoadsInTheGameAtASizeGlTakes) {
    std::set<std::pair<int, int>> kinds;
    for (const char* name : kTextures) {
        SCOPED_TRACE(name);
        const Tga t = LoadTexture(name);
        EXPECT_TRUE(PowerOfTwo(t.width) && PowerOfTwo(t.height)) << t.width << "x" << t.height;
        kinds.insert({t.type, t.bitsPerPixel});
    }
    EXPECT_EQ(kinds.size(), 4u) << "both image types in both depths exercise both readers";
}

TEST(Textures, FontHasGlyphsInTheirCellsCountedFromTheTopLeft) {
    const Tga font = LoadTexture("font.tga");
    ASSERT_EQ(std::make_tuple(font.width, font.height, font.bitsPerPixel), std::make_tuple(256, 256, 32));
    for (int set = 0; set < 2; ++set) {
        SCOPED_TRACE(set);
        const int base = set * 128 - 32;
        EXPECT_EQ(Coverage(font, base + ' ', 0, 0, 16, 16), 0) << "space is empty";
        for (char c : std::string("AZaz09!?:"))
            EXPECT_GT(Coverage(font, base + c, 0, 0, 16, 16), 255 * 8) << c;
        // A full stop sits low in its cell and a caret high: a picture stored upside down swaps them.
        EXPECT_GT(Coverage(font, base + '.', 0, 8, 16, 16), 4 * Coverage(font, base + '.', 0, 0, 16, 8));
        EXPECT_GT(Coverage(font, base + '^', 0, 0, 16, 8), 4 * Coverage(font, base + '^', 0, 8, 16, 16));
        // Glyphs keep to the 14-texel advance so neighbours do not collide.
        for (int c = 33; c < 127; ++c) EXPECT_LT(Coverage(font, base + c, 15, 0, 16, 16), 255 * 4) << char(c);
    }
}

TEST(Textures, ParticleIsASoftRoundSpriteAndTheWaterFramesDiffer) {
    const Tga p = LoadTexture("particle.tga");
    ASSERT_EQ(p.bitsPerPixel, 32);
    const int w = p.width, h = p.height;
    EXPECT_EQ(std::make_tuple(p.Pixel(w / 2, h / 2)[3] > 200, int(p.Pixel(0, 0)[3]), int(p.Pixel(w - 1, h - 1)[3])),
              std::make_tuple(true, 0, 0)) << "opaque in the middle, clear in the corners";
    std::set<int> alphas;
    for (int x = w / 2; x < w; ++x) alphas.insert(p.Pixel(x, h / 2)[3]);
    EXPECT_GT(alphas.size(), static_cast<size_t>(w / 4)) << "edges fade gradually";

    std::vector<Tga> frames;
    for (int k = 0; k < 4; ++k) frames.push_back(LoadTexture("water" + std::to_string(k) + ".tga"));
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) EXPECT_NE(frames[a].pixels, frames[b].pixels) << a << " and " << b;
}

TEST(Textures, SkinsAreColouredWhereTheirModelsMapThem) {
    const struct { const char* model; const char* skin; } kPairs[] = {
        {"male.md2", "flak.tga"}, {"hobgoblin.md2", "hobgoblin.tga"}, {"turret.md2", "turret.tga"}};
    for (const auto& pair : kPairs) {
        SCOPED_TRACE(pair.skin);
        Md2 m;
        std::string error;
        ASSERT_TRUE(ParseMd2(ReadBytes(ResourceDir() + "/Models/" + pair.model), m, error)) << error;
        const Tga skin = LoadTexture(pair.skin);
        ASSERT_EQ(std::make_tuple(skin.width, skin.height), std::make_tuple(m.skinWidth, m.skinHeight));
        // The skin's background is the colour of its bottom-right texel, which no part uses.
        const uint8_t* background = skin.Pixel(skin.width - 1, skin.height - 1);
        int painted = 0, triangles = static_cast<int>(m.tris.size() / 6);
        for (int t = 0; t < triangles; ++t) {
            float s = 0, u = 0;
            for (int k = 0; k < 3; ++k) {
                s += m.st[2 * m.tris[6 * t + 3 + k]] / 3.0f;
                u += m.st[2 * m.tris[6 * t + 3 + k] + 1] / 3.0f;
            }
            const uint8_t* px = skin.Pixel(std::min(static_cast<int>(s), skin.width - 1), std::min(static_cast<int>(u), skin.height - 1));
            painted += std::memcmp(px, background, 3) != 0;
        }
        EXPECT_GT(painted, triangles * 95 / 100) << "triangles map onto unpainted skin";
    }
}
