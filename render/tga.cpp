// SPDX-License-Identifier: GPL-3.0-or-later
// TGA reader with every size checked against the file before allocating, and the texture slot tables.
#include "render/tga.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <sstream>
#include <utility>

#include "engine/filenotes.h"

namespace {

constexpr int kPrefixSize = 12;  // compared as a whole
constexpr int kSizesSize = 6;    // width, height, depth, descriptor
constexpr int kHeaderSize = kPrefixSize + kSizesSize;
constexpr int kMaxPacketPixels = 128;
constexpr int kMaxPixelBytes = 4;

constexpr unsigned char kUncompressedPrefix[kPrefixSize] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr unsigned char kCompressedPrefix[kPrefixSize] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// One line on standard error naming the file, and the reason to the file notes;
// standard output keeps only the reader's own progress lines.
template <typename... Parts>
std::string Say(const std::string& path, const Parts&... parts)
{
    std::ostringstream why;
    (why << ... << parts);
    std::cerr << "TGA " << path << ": " << why.str() << "\n";
    return why.str();
}

template <typename... Parts>
bool Reject(const std::string& path, const Parts&... parts)
{
    CFileNotes::Error(Say(path, parts...));
    return false;
}

// A texture that loads but is most likely not what was meant.
template <typename... Parts>
void Warn(const std::string& path, const Parts&... parts)
{
    CFileNotes::Warning(Say(path, parts...));
}

constexpr bool PowerOfTwo(std::uint32_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

unsigned Uint16At(const unsigned char* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

// Why twelve bytes match neither accepted prefix, field by field (the image ID
// length, the first byte, may be anything).
std::string PrefixFault(const unsigned char* prefix)
{
    std::ostringstream why;
    if (prefix[1] != 0)
        why << "colour map type is " << int(prefix[1]) << ", not 0";
    else if (prefix[2] != 2 && prefix[2] != 10)
        why << "image type is " << int(prefix[2]) << ", not 2 or 10 (true-colour)";
    else if (std::memcmp(prefix + 3, kUncompressedPrefix + 3, 5) != 0)
        why << "the colour map specification is not all 0";
    else if (Uint16At(prefix + 8) != 0)
        why << "x origin is " << Uint16At(prefix + 8) << ", not 0";
    else
        why << "y origin is " << Uint16At(prefix + 10) << ", not 0";
    return why.str();
}

// The file's size in bytes, or -1; leaves the position where it was.
std::int64_t FileSize(std::FILE* file)
{
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0)
        return -1;
    return end;
}

void Clear(TextureImage& image)
{
    std::vector<unsigned char>().swap(image.pixels);
    image.bitsPerPixel = image.width = image.height = image.format = 0;
}

// Checked width, height and depth of the six bytes after the prefix; what both readers share.
struct Geometry {
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t bitsPerPixel;
    std::int64_t bytesPerPixel;
    std::int64_t pixelCount;
    std::int64_t fileSize;
    std::int64_t dataStart;  // after the header and the image ID field
    unsigned descriptor;
};

// Descriptor bits of the order in which the file stores its pixels.
constexpr unsigned kRightToLeft = 0x10;
constexpr unsigned kTopDown = 0x20;

bool ReadGeometry(const std::string& path, std::FILE* file, Geometry& g)
{
    g.fileSize = FileSize(file);
    if (g.fileSize < 0)
        return Reject(path, "its size cannot be read");
    unsigned char sizes[kSizesSize];
    const size_t got = std::fread(sizes, 1, kSizesSize, file);
    if (got != kSizesSize)
        return Reject(path, "the file ends after ", kPrefixSize + got, " bytes, inside the ", kHeaderSize,
                      "-byte header");
    g.width = Uint16At(sizes);
    g.height = Uint16At(sizes + 2);
    g.bitsPerPixel = sizes[4];
    g.descriptor = sizes[5];
    g.bytesPerPixel = g.bitsPerPixel / 8;
    g.pixelCount = std::int64_t(g.width) * g.height;
    // The image ID field, as long as the file's first byte says, lies between the header
    // and the pixels; nothing in it is used.
    int idLength = EOF;
    if (std::fseek(file, 0, SEEK_SET) != 0 || (idLength = std::fgetc(file)) == EOF ||
        std::fseek(file, kHeaderSize + idLength, SEEK_SET) != 0)
        return Reject(path, "the image ID field cannot be skipped");
    g.dataStart = kHeaderSize + idLength;
    return true;
}

bool CheckGeometry(const std::string& path, const Geometry& g)
{
    if (g.width == 0)
        return Reject(path, "width is 0");
    if (g.height == 0)
        return Reject(path, "height is 0");
    if (g.width > kMaxTgaSide || g.height > kMaxTgaSide)
        return Reject(path, g.width, "x", g.height, " is larger than ", kMaxTgaSide, " on a side");
    if (g.bitsPerPixel != 24 && g.bitsPerPixel != 32)
        return Reject(path, g.bitsPerPixel, " bits per pixel, not 24 or 32");
    const std::int64_t bytes = g.pixelCount * g.bytesPerPixel;
    if (bytes > kMaxTgaBytes)
        return Reject(path, g.width, "x", g.height, " at ", g.bitsPerPixel, " bits per pixel needs ", bytes,
                      " bytes, more than the ", kMaxTgaBytes >> 20, " MiB a texture may take");
    return true;
}

// Turns the rows as stored into rows bottom-up, each left to right.
void Orient(TextureImage& image, const Geometry& g)
{
    const size_t pixel = size_t(g.bytesPerPixel), row = size_t(g.width) * pixel;
    unsigned char* p = image.pixels.data();
    if (g.descriptor & kTopDown) {
        for (size_t top = 0, bottom = g.height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(p + top * row, p + (top + 1) * row, p + bottom * row);
    }
    if (g.descriptor & kRightToLeft) {
        for (size_t y = 0; y < g.height; ++y) {
            for (size_t left = 0, right = g.width - 1; left < right; ++left, --right)
                std::swap_ranges(p + y * row + left * pixel, p + y * row + (left + 1) * pixel,
                                 p + y * row + right * pixel);
        }
    }
}

// Sizes the pixel buffer; the caller has already bounded it by the file's size.
bool Allocate(const std::string& path, TextureImage& image, const Geometry& g)
{
    image.width = g.width;
    image.height = g.height;
    image.bitsPerPixel = g.bitsPerPixel;
    image.format = g.bitsPerPixel == 32 ? GL_RGBA : GL_RGB;
    try {
        image.pixels.assign(size_t(g.pixelCount * g.bytesPerPixel), 0);
    } catch (const std::bad_alloc&) {
        return Reject(path, "no memory for ", g.pixelCount * g.bytesPerPixel, " bytes of pixels");
    }
    return true;
}

// Stores count pixels read from the file (blue, green, red (, alpha)) as red, green, blue (, alpha).
void StorePixels(unsigned char* dest, const unsigned char* src, std::int64_t count, std::int64_t bytesPerPixel)
{
    for (std::int64_t i = 0; i < count; ++i, dest += bytesPerPixel, src += bytesPerPixel) {
        dest[0] = src[2];
        dest[1] = src[1];
        dest[2] = src[0];
        if (bytesPerPixel == 4)
            dest[3] = src[3];
    }
}

bool ReadUncompressed(TextureImage& image, const std::string& path, std::FILE* file)
{
    Geometry g;
    if (!ReadGeometry(path, file, g))
        return false;
    std::cout << "Loading Uncompressed TGA " << path << "\n";
    if (!CheckGeometry(path, g))
        return false;
    const std::int64_t size = g.pixelCount * g.bytesPerPixel;
    if (g.dataStart + size > g.fileSize)
        return Reject(path, g.width, "x", g.height, " pixels need ", g.dataStart + size,
                      " bytes but the file has ", g.fileSize);
    if (!Allocate(path, image, g))
        return false;
    const size_t got = std::fread(image.pixels.data(), 1, image.pixels.size(), file);
    if (got != image.pixels.size())
        return Reject(path, "the pixel data ends after ", got, " of ", size, " bytes");
    // Swapped in place: the stored order is blue, green, red.
    for (size_t i = 0; i < image.pixels.size(); i += size_t(g.bytesPerPixel))
        std::swap(image.pixels[i], image.pixels[i + 2]);
    Orient(image, g);
    std::cout << "Loading done\n";
    return true;
}

bool ReadCompressed(TextureImage& image, const std::string& path, std::FILE* file)
{
    std::cout << "Loading Compressed TGA " << path << "\n";
    Geometry g;
    if (!ReadGeometry(path, file, g) || !CheckGeometry(path, g))
        return false;
    // The densest packet, a run of 128, costs a header byte and one pixel, so no file
    // of this size can describe more pixels than this.
    const std::int64_t packets = (g.pixelCount + kMaxPacketPixels - 1) / kMaxPacketPixels;
    const std::int64_t leastData = packets * (1 + g.bytesPerPixel);
    if (g.dataStart + leastData > g.fileSize)
        return Reject(path, g.width, "x", g.height, " pixels need at least ", g.dataStart + leastData,
                      " bytes of packets and header but the file has ", g.fileSize);
    if (!Allocate(path, image, g))
        return false;

    const std::int64_t bpp = g.bytesPerPixel;
    unsigned char packet[kMaxPacketPixels * kMaxPixelBytes];
    unsigned char* dest = image.pixels.data();
    std::int64_t currentPixel = 0;
    while (currentPixel < g.pixelCount) {
        const int h = std::fgetc(file);
        if (h == EOF)
            return Reject(path, "the packets end after ", currentPixel, " of ", g.pixelCount, " pixels");
        const bool run = h >= 128;
        const std::int64_t length = run ? h - 127 : h + 1;
        // A last packet that reaches past the image is cut at its end; the excess is
        // neither read nor stored.
        const std::int64_t left = g.pixelCount - currentPixel;
        const std::int64_t count = length < left ? length : left;
        if (length > left)
            Warn(path, "the last packet runs ", length - left, " past the image's end; the excess is ignored");
        const std::int64_t stored = run ? 1 : count;
        const size_t want = size_t(stored * bpp);
        const size_t got = std::fread(packet, 1, want, file);
        if (got != want)
            return Reject(path, "the file ends inside a ", run ? "run" : "raw", " packet at pixel ",
                          currentPixel, " of ", g.pixelCount);
        if (run) {
            for (std::int64_t i = 0; i < count; ++i, dest += bpp)
                StorePixels(dest, packet, 1, bpp);
        } else {
            StorePixels(dest, packet, count, bpp);
            dest += count * bpp;
        }
        currentPixel += count;
    }
    Orient(image, g);
    return true;
}

// Checks what no table entry may get wrong: every file slot read exactly once.
constexpr bool CoversEveryFileOnce(const int (&order)[kTextureFileCount], const TextureSlot (&slots)[kTextureSlotCount])
{
    int seen[kTextureSlotCount] = {};
    for (int slot : order) {
        if (slot < 0 || slot >= kTextureSlotCount || slots[slot].file == nullptr || seen[slot]++)
            return false;
    }
    return true;
}

constexpr bool SlotsInOrder(const TextureSlot (&slots)[kTextureSlotCount])
{
    for (int i = 0; i < kTextureSlotCount; ++i)
        if (Slot(slots[i].id) != i)
            return false;
    return true;
}

}  // namespace

bool LoadUncompressedTga(TextureImage& image, const std::string& path, std::FILE* file)
{
    if (ReadUncompressed(image, path, file))
        return true;
    Clear(image);
    return false;
}

bool LoadCompressedTga(TextureImage& image, const std::string& path, std::FILE* file)
{
    if (ReadCompressed(image, path, file))
        return true;
    Clear(image);
    return false;
}

bool LoadTgaFile(TextureImage& image, const std::string& path)
{
    Clear(image);
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const int error = errno;
        std::cout << "aaaaaaaaaaaaaaa\n";
        return Reject(path, "cannot be opened: ", std::strerror(error));
    }
    unsigned char prefix[kPrefixSize];
    const size_t got = std::fread(prefix, 1, kPrefixSize, file.get());
    if (got != kPrefixSize)
        return Reject(path, "the file ends after ", got, " bytes, inside the ", kHeaderSize, "-byte header");
    bool read = false;
    if (std::memcmp(prefix + 1, kUncompressedPrefix + 1, kPrefixSize - 1) == 0)
        read = LoadUncompressedTga(image, path, file.get());
    else if (std::memcmp(prefix + 1, kCompressedPrefix + 1, kPrefixSize - 1) == 0)
        read = LoadCompressedTga(image, path, file.get());
    else
        return Reject(path, PrefixFault(prefix));
    // OpenGL takes other sides only from 2.0 on, or with ARB_texture_non_power_of_two.
    if (read && !(PowerOfTwo(image.width) && PowerOfTwo(image.height)))
        Warn(path, image.width, "x", image.height, " has a side that is no power of two, which OpenGL 1.x cannot take");
    return read;
}

bool LoadTga(TextureImage& image, const std::string& name)
{
    return LoadTgaFile(image, "Resources/Textures/" + name);
}

// clang-format off
constexpr TextureSlot kTextureSlots[] = {
    // slot                  file                 wrap        filter      filterFirst
    {TextureId::Water0,   "water0.tga",          GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Water1,   "water1.tga",          GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Water2,   "water2.tga",          GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Water3,   "water3.tga",          GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Floor,    "floor1.tga",          GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Wall,     "wall1.tga",           GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Player,   "flak.tga",            GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Water,    "water.tga",           GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Enemy,    "hobgoblin.tga",       GL_REPEAT,  GL_LINEAR,  false},
    {TextureId::Particle, "particle.tga",        0,          GL_LINEAR,  false},
    {TextureId::Tower,    "turret.tga",          0,          GL_LINEAR,  false},
    {TextureId::SkyWest,  "skybox_west.tga",     GL_CLAMP,   GL_NEAREST, true},
    {TextureId::SkySouth, "skybox_south.tga",    GL_CLAMP,   GL_NEAREST, true},
    {TextureId::SkyEast,  "skybox_east.tga",     GL_CLAMP,   GL_NEAREST, true},
    {TextureId::SkyNorth, "skybox_north.tga",    GL_CLAMP,   GL_NEAREST, true},
    {TextureId::SkyUp,    "skybox_up.tga",       GL_CLAMP,   GL_NEAREST, true},
    {TextureId::SkyDown,  "skybox_down.tga",     GL_CLAMP,   GL_NEAREST, true},
    {TextureId::Unused,   nullptr,               0,          0,          false},
    {TextureId::Font,     "font.tga",            GL_REPEAT,  GL_LINEAR,  false},
};
static_assert(sizeof kTextureSlots / sizeof kTextureSlots[0] == kTextureSlotCount, "one row per slot");
static_assert(SlotsInOrder(kTextureSlots), "the rows in the order of the slots");

using T = TextureId;
constexpr int kTextureLoadOrder[] = {
    Slot(T::Floor), Slot(T::Wall), Slot(T::Player), Slot(T::Water), Slot(T::Enemy), Slot(T::Particle),
    Slot(T::Tower), Slot(T::Font), Slot(T::SkyWest), Slot(T::SkySouth), Slot(T::SkyEast), Slot(T::SkyNorth),
    Slot(T::SkyUp), Slot(T::SkyDown), Slot(T::Water0), Slot(T::Water1), Slot(T::Water2), Slot(T::Water3)};
static_assert(sizeof kTextureLoadOrder / sizeof kTextureLoadOrder[0] == kTextureFileCount, "every file");
static_assert(CoversEveryFileOnce(kTextureLoadOrder, kTextureSlots), "each file slot loaded once");

// GL hands out texture names in the order they are generated, so this order fixes them.
constexpr int kTextureCreateOrder[] = {
    Slot(T::Floor), Slot(T::Wall), Slot(T::Player), Slot(T::Water), Slot(T::Font), Slot(T::Enemy),
    Slot(T::Particle), Slot(T::Tower), Slot(T::Water0), Slot(T::Water1), Slot(T::Water2), Slot(T::Water3),
    Slot(T::SkyWest), Slot(T::SkySouth), Slot(T::SkyEast), Slot(T::SkyNorth), Slot(T::SkyUp), Slot(T::SkyDown)};
static_assert(sizeof kTextureCreateOrder / sizeof kTextureCreateOrder[0] == kTextureFileCount, "every file");
static_assert(CoversEveryFileOnce(kTextureCreateOrder, kTextureSlots), "each file slot created once");
// clang-format on

bool LoadTextureFiles(TextureImage (&textures)[kTextureSlotCount])
{
    for (int slot : kTextureLoadOrder) {
        if (!LoadTga(textures[slot], kTextureSlots[slot].file)) {
            std::cout << "error loading texture\n";
            return false;
        }
    }
    return true;
}
