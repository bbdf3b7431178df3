// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font's characters and how a UTF-8 text maps onto its glyphs, without
// OpenGL. The asset generator draws the glyphs from the same table.
#pragma once

#include <cstddef>

constexpr int kGlyphAdvance = 14;    // pixels from one glyph to the next
constexpr int kGlyphSize = 16;       // a glyph's square: neighbours overlap by two pixels
constexpr int kFirstGlyphCode = 32;  // the space is the first cell of a set
constexpr int kGlyphSetSize = 128;   // cells per set: codes 32 to 159

// Codes 128 to 159 show the first row of the old PC code page's upper half, which
// holds the German umlauts; codes 32 to 126 are ASCII.
constexpr char32_t kUpperGlyphs[32] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x00DF, 0x0192,
};

// The glyph code of a character (32 to 159), or 0 where the font has none.
int GlyphCode(char32_t c);

// The UTF-8 text as glyph codes: at most capacity - 1 of them and a terminating zero.
// A character the font lacks, or a byte that is no UTF-8, becomes '?' (counted in
// missing, when given). Returns the number of codes.
size_t ToGlyphCodes(const char* utf8, unsigned char* codes, size_t capacity, size_t* missing = nullptr);

// Pixels from the left edge of the text's first glyph to the right edge of its last,
// each glyph scaled by scaleX; 0 for an empty text.
int TextWidth(const char* utf8, float scaleX);
