// Readers for the generated game files, written apart from the generator so
// that the tests check its output by other means.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

using Bytes = std::vector<uint8_t>;

// The Resources/ tree of the build.
std::string ResourceDir();
Bytes ReadBytes(const std::string& path);

struct Tga {
    int type = 0, width = 0, height = 0, bitsPerPixel = 0;
    std::vector<uint8_t> rgba;  // width * height * 4, row 0 is the top of the picture
    bool Decoded() const { return !rgba.empty(); }
    const uint8_t* Pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
// Decodes type 2 and type 10 files; error says what was wrong when the result is empty.
Tga DecodeTga(const Bytes& file, std::string& error);

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

// The 64 rows of a cell map (row r is world y = r); empty when malformed.
std::vector<std::string> ReadCellMap(const std::string& path);

}  // namespace assettest
