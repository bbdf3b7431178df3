// SPDX-License-Identifier: GPL-3.0-or-later
// Truevision TGA reader (true-colour, raw or run-length, 24 or 32 bits) and the game's texture slots.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One decoded texture file and, once uploaded, its GL texture.
struct TextureImage {
    std::vector<unsigned char> pixels;  // rows bottom-up, each left to right; red, green, blue (, alpha)
    std::uint32_t bitsPerPixel = 0;     // 24 or 32
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t glName = 0;  // set by the upload; the readers never touch it
    std::uint32_t format = 0;  // GL_RGB or GL_RGBA, internal and pixel format alike
};

// Reads "Resources/Textures/" + name: true-colour, raw or run-length, 24 or 32 bits,
// rows stored in either order (descriptor bits 4 and 5), an image ID field skipped. On
// any failure returns false and leaves image empty (no pixels, sizes, depth and format
// 0; glName as it was), with one line on standard error saying which file and why. A
// texture that loads with sides OpenGL 1.x cannot take, or with a last packet that runs
// past the image, gets a line too. Every line also goes to the file notes.
bool LoadTga(TextureImage& image, const std::string& name);

// LoadTga on a path of the caller's choice: the entry for tools and fuzzing.
bool LoadTgaFile(TextureImage& image, const std::string& path);

// The two readers LoadTga hands the open file to, positioned just after the first
// twelve bytes. They do not close the file; on failure image is left empty as above.
bool LoadUncompressedTga(TextureImage& image, const std::string& path, std::FILE* file);
bool LoadCompressedTga(TextureImage& image, const std::string& path, std::FILE* file);

// The budget of one texture: sides beyond 16384 and decoded pixels beyond 64 MiB (4096 x
// 4096 at 32 bits) are rejected before anything is allocated. No texture of the game is
// anywhere near either, and a forged header of a few bytes cannot ask for more.
constexpr std::uint32_t kMaxTgaSide = 16384;
constexpr std::int64_t kMaxTgaBytes = std::int64_t(64) << 20;

// The slots by what they hold, in the order of the table's rows.
enum class TextureId : int {
    Water0, Water1, Water2, Water3,  // the water's four frames
    Floor, Wall, Player, Water, Enemy, Particle, Tower,
    SkyWest, SkySouth, SkyEast, SkyNorth, SkyUp, SkyDown,
    Unused,
    Font,
    Count
};
constexpr int Slot(TextureId id) { return static_cast<int>(id); }
constexpr int kTextureSlotCount = Slot(TextureId::Count);
constexpr int kTextureFileCount = kTextureSlotCount - 1;  // all but the unused slot

// A texture slot of the render task and the GL parameters its texture gets.
struct TextureSlot {
    TextureId id;
    const char* file;      // nullptr: the slot is never loaded nor used
    std::uint32_t wrap;    // GL_REPEAT or GL_CLAMP for S and T; 0 leaves the GL default
    std::uint32_t filter;  // GL_LINEAR or GL_NEAREST for min and mag
    bool filterFirst;      // set the filters before the wrap mode
};

extern const TextureSlot kTextureSlots[kTextureSlotCount];
// Slot indices in the order their files are read.
extern const int kTextureLoadOrder[kTextureFileCount];
// Slot indices in the order their GL textures are created (and so the names they get).
extern const int kTextureCreateOrder[kTextureFileCount];

// Reads every slot's file in load order. At the first failure prints "error loading
// texture" and returns false at once, leaving the later slots unread; the caller then
// creates no GL texture at all.
bool LoadTextureFiles(TextureImage (&textures)[kTextureSlotCount]);
