// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font: 256 glyph cells of 16 x 16 texels rendered with FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

#include "generators.h"
#include "image.h"
#include "render/glyphs.h"

namespace assetgen {

namespace {

constexpr int kCell = 16;         // texels per glyph cell
constexpr int kGrid = 16;         // cells per row and column
constexpr int kMaxInk = 12;       // widest glyph, leaving room for its dark rim
constexpr int kBaseline = 12;     // rows from the cell's top to the baseline

// One character set: the font file, its pixel size (width and height differ so
// the glyphs fill the wide advance) and whether glyphs are centred in the advance.
struct FontStyle { const char* file; int pixelWidth, pixelHeight; };
const FontStyle kStyles[2] = {
    {"DejaVuSansMono-Bold.ttf", 19, 14},
    {"DejaVuSerif-Bold.ttf", 16, 13},
};

// The game draws codes 128..159 with the characters of kUpperGlyphs.
unsigned CodePoint(int c) { return c < 128 ? static_cast<unsigned>(c) : kUpperGlyphs[c - 128]; }

// Draws one glyph into its cell: white, alpha = coverage, with a faint dark
// rim under it so that text stays readable on bright ground.
void DrawGlyph(Image& img, FT_Face face, unsigned code, int cell) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return;
    const int inkWidth = static_cast<int>(face->glyph->bitmap.width);
    if (inkWidth > kMaxInk) {  // squeeze wide glyphs (M, W, %) into the advance
        FT_Matrix squeeze = {static_cast<FT_Fixed>(0x10000L * kMaxInk / inkWidth), 0, 0, 0x10000L};
        FT_Set_Transform(face, &squeeze, nullptr);
        const bool ok = FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0;
        FT_Set_Transform(face, nullptr, nullptr);
        if (!ok) return;
    }
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    const int cellX = (cell % kGrid) * kCell, cellY = (cell / kGrid) * kCell;
    const int left = (kGlyphAdvance - static_cast<int>(bm.width)) / 2 + 1;
    const int top = kBaseline - g->bitmap_top;
    auto coverage = [&](int bx, int by) -> float {
        if (bx < 0 || by < 0 || bx >= static_cast<int>(bm.width) || by >= static_cast<int>(bm.rows)) return 0;
        return bm.buffer[by * bm.pitch + bx] / 255.0f;
    };
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const int bx = x - left, by = y - top;
            const float a = coverage(bx, by);
            float rim = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) rim = std::fmax(rim, coverage(bx + dx, by + dy));
            const float shadow = coverage(bx - 1, by - 1);
            const float outer = std::fmax(rim * 0.45f, shadow * 0.7f);
            const float alpha = a + (1 - a) * outer;
            const float white = alpha > 0 ? a / alpha : 1;
            img.At(cellX + x, cellY + y) = Color{white, white, white, alpha};
        }
    }
}

}  // namespace

bool GenerateFont(const std::string& root, const std::string& fontDir) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) {
        std::fprintf(stderr, "assetgen: FreeType failed to start\n");
        return false;
    }
    Image img(kCell * kGrid, kCell * kGrid, Color{1, 1, 1, 0});
    bool ok = true;
    for (int set = 0; set < 2 && ok; ++set) {
        const std::string path = fontDir + "/" + kStyles[set].file;
        FT_Face face;
        if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
            std::fprintf(stderr, "assetgen: cannot open font %s\n", path.c_str());
            ok = false;
            break;
        }
        FT_Set_Pixel_Sizes(face, kStyles[set].pixelWidth, kStyles[set].pixelHeight);
        for (int k = 0; k < kGlyphSetSize; ++k)
            DrawGlyph(img, face, CodePoint(kFirstGlyphCode + k), set * kGlyphSetSize + k);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(lib);
    return ok && WriteTga(root + "/Textures/font.tga", img, TgaKind::Rle32);
}

}  // namespace assetgen
