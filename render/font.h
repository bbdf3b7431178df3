// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap font: 256 glyphs of a 16 x 16 texture grid as display lists, printed at
// the game's frame pixels (CScreen: 600 lines, the frame's width).
#pragma once

struct TextureImage;

// Builds the 256 glyph lists from the font texture; once, at start.
void BuildFont(const TextureImage& font);

// Prints the formatted text, UTF-8, with its first glyph's lower-left corner at frame
// pixel (x, y), y upwards; a character the font lacks shows as '?'. Set 0 or 1 (anything above 1 prints with 1). The caller binds the
// font texture and chooses the colour. Leaves lighting off, depth test and culling on
// and the modelview matrix current.
void PrintText(int x, int y, int set, const char* format, ...) __attribute__((format(printf, 4, 5)));
// The same with each glyph and advance scaled.
void PrintTextScaled(int x, int y, int set, float scaleX, float scaleY, const char* format, ...)
    __attribute__((format(printf, 6, 7)));
