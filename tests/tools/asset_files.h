// SPDX-License-Identifier: GPL-3.0-or-later
// The generated game files as the game reads them (textures and cell maps through its own
// readers, whose byte-level tests are the layers'), and an MD2 parser written apart from
// the generator that keeps what the game drops: the header and the GL commands.
#pragma once

#include "tests/support/testutil.h"

namespace assettest {

using Bytes = std::vector<uint8_t>;

// The Resources/ tree of the build.
std::string ResourceDir();
Bytes ReadBytes(const std::string& path);

// A texture of Resources/Textures/ as the game decodes it; a refused one fails the test.
struct Tga {
    int type = 0, width = 0, height = 0, bitsPerPixel = 0;
    std::vector<uint8_t> pixels;  // red, green, blue (, alpha), the bottom row first
    // Counted from the top of the picture.
    const uint8_t* Pixel(int x, int y) const
    {
        return &pixels[((static_cast<size_t>(height) - 1 - y) * width + x) * (bitsPerPixel / 8)];
    }
};
Tga LoadTexture(const std::string& name);

struct Md2Frame {
    std::string name;
    std::vector<float> xyz;  // as the game reads them: y mirrored, model units
};
struct Md2 {
    int32_t header[17] = {};
    int skinWidth = 0, skinHeight = 0;
    std::vector<int16_t> st;      // s, t pairs in texels
    std::vector<uint16_t> tris;   // three vertex indices, three texture-coordinate indices
    std::vector<Md2Frame> frames;
};
// Parses the file; error says what was wrong when false.
bool ParseMd2(const Bytes& file, Md2& out, std::string& error);

// The 64 rows of a cell map (row r is world y = r) as the game reads them; empty when refused.
std::vector<std::string> ReadCellMap(const std::string& path);

}  // namespace assettest
