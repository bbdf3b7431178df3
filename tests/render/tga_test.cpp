// TGA reader: both types at both depths, each broken header and file, and the texture set's load rule.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>

#include "render/tga.h"
#include "support/testutil.h"

namespace {

const std::string kPath = "Resources/Textures/t.tga";

struct Rgba {
    unsigned char r, g, b, a;
};
constexpr Rgba kA{10, 20, 30, 40}, kB{50, 60, 70, 80}, kC{90, 100, 110, 120}, kD{130, 140, 150, 160};

// Eighteen header bytes; the first twelve as given, then the sizes.
std::string Header(int type, unsigned width, unsigned height, int bpp)
{
    const unsigned char h[18] = {0, 0, (unsigned char)type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 (unsigned char)width, (unsigned char)(width >> 8), (unsigned char)height,
                                 (unsigned char)(height >> 8), (unsigned char)bpp, 0};
    return std::string(reinterpret_cast<const char*>(h), sizeof h);
}

std::string Patched(std::string s, size_t at, unsigned char value)
{
    s[at] = char(value);
    return s;
}

// Pixels as the file stores them: blue, green, red (, alpha).
std::string Stored(int bpp, std::initializer_list<Rgba> pixels)
{
    std::string s;
    for (const Rgba& p : pixels) {
        s += {char(p.b), char(p.g), char(p.r)};
        if (bpp == 32)
            s += char(p.a);
    }
    return s;
}

// Pixels as the reader hands them out: red, green, blue (, alpha).
std::string Decoded(int bpp, std::initializer_list<Rgba> pixels)
{
    std::string s;
    for (const Rgba& p : pixels) {
        s += {char(p.r), char(p.g), char(p.b)};
        if (bpp == 32)
            s += char(p.a);
    }
    return s;
}

std::string Repeated(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string Byte(int b) { return std::string(1, char(b)); }

class CaptureCerr {
public:
    CaptureCerr() : old(std::cerr.rdbuf(buffer.rdbuf())) {}
    ~CaptureCerr() { std::cerr.rdbuf(old); }
    std::string Text() const { return buffer.str(); }

private:
    std::ostringstream buffer;
    std::streambuf* old;
};

const std::string kRawLines = "Loading Uncompressed TGA " + kPath + "\nLoading done\n";
const std::string kRawLine = "Loading Uncompressed TGA " + kPath + "\n";
const std::string kRleLine = "Loading Compressed TGA " + kPath + "\n";

struct Loaded {
    bool ok;
    TextureImage image;
    std::string out, err;
};

// Loads file as t.tga into a record that already holds another image and a GL name.
Loaded Load(const velqtest::TempDir& dir, const std::string& file)
{
    dir.Write(kPath, file);
    Loaded l;
    l.image.pixels.assign(12, 1);
    l.image.width = l.image.height = 2;
    l.image.bitsPerPixel = 24;
    l.image.format = GL_RGB;
    l.image.glName = 7;
    velqtest::CaptureCout out;
    CaptureCerr err;
    l.ok = LoadTga(l.image, "t.tga");
    l.out = out.Text();
    l.err = err.Text();
    return l;
}

}  // namespace

TEST(Tga, BothTypesAtBothDepthsDecodeToRedGreenBlueInFileRowOrder)
{
    struct Case {
        const char* what;
        std::string file;
        unsigned width, height, bpp;
        std::string pixels, out;
    };
    const Case cases[] = {
        {"24-bit raw", Header(2, 2, 2, 24) + Stored(24, {kA, kB, kC, kD}), 2, 2, 24,
         Decoded(24, {kA, kB, kC, kD}), kRawLines},
        {"32-bit raw, a footer after the pixels", Header(2, 1, 2, 32) + Stored(32, {kA, kB}) + "TRUEVISION", 1,
         2, 32, Decoded(32, {kA, kB}), kRawLines},
        {"24-bit packets of one raw pixel, a run and raw pixels across rows",
         Header(10, 3, 2, 24) + Byte(0) + Stored(24, {kA}) + Byte(129) + Stored(24, {kB}) + Byte(2) +
             Stored(24, {kC, kD, kA}),
         3, 2, 24, Decoded(24, {kA, kB, kB, kC, kD, kA}), kRleLine},
        {"32-bit run of 128 from one pixel, in the fewest bytes", Header(10, 16, 8, 32) + Byte(255) + Stored(32, {kD}),
         16, 8, 32, Repeated(Decoded(32, {kD}), 128), kRleLine},
        {"24-bit 129 pixels in two packets, in the fewest bytes",
         Header(10, 129, 1, 24) + Byte(255) + Stored(24, {kC}) + Byte(0) + Stored(24, {kB}), 129, 1, 24,
         Repeated(Decoded(24, {kC}), 128) + Decoded(24, {kB}), kRleLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        velqtest::TempDir dir;
        const Loaded l = Load(dir, c.file);
        ASSERT_TRUE(l.ok) << l.err;
        EXPECT_EQ(l.image.width, c.width);
        EXPECT_EQ(l.image.height, c.height);
        EXPECT_EQ(l.image.bitsPerPixel, c.bpp);
        EXPECT_EQ(l.image.format, c.bpp == 32 ? unsigned(GL_RGBA) : unsigned(GL_RGB));
        EXPECT_EQ(l.image.glName, 7u);
        EXPECT_EQ(std::string(l.image.pixels.begin(), l.image.pixels.end()), c.pixels);
        EXPECT_EQ(l.out, c.out);
        EXPECT_EQ(l.err, "");
    }
}

TEST(Tga, ALastPacketPastTheImageIsCutAtItsEndAndTheImageKept)
{
    struct Case {
        const char* what;
        std::string file;
        std::string pixels;
    };
    const Case cases[] = {
        {"run of 3 on 2 pixels", Header(10, 2, 1, 32) + Byte(130) + Stored(32, {kA}), Decoded(32, {kA, kA})},
        {"raw of 2 after 1 on 2 pixels", Header(10, 2, 1, 24) + Byte(0) + Stored(24, {kA}) + Byte(1) +
                                             Stored(24, {kB, kC}),
         Decoded(24, {kA, kB})},
        {"raw of 3 on 2 pixels, the unused pixel missing", Header(10, 2, 1, 24) + Byte(2) + Stored(24, {kB, kC}),
         Decoded(24, {kB, kC})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        velqtest::TempDir dir;
        const Loaded l = Load(dir, c.file);
        ASSERT_TRUE(l.ok) << l.err;
        EXPECT_EQ(std::string(l.image.pixels.begin(), l.image.pixels.end()), c.pixels);
        EXPECT_EQ(l.err.rfind("TGA " + kPath + ": the last packet runs 1 pixels past", 0), 0u) << l.err;
    }
}

TEST(Tga, EveryBrokenHeaderOrShortFileIsRejectedWithOneReasonAndAnEmptyRecord)
{
    struct Case {
        const char* what;
        std::string file;
        std::string out;
        const char* reason;
    };
    const std::string rle = Header(10, 2, 1, 24) + Byte(129) + Stored(24, {kA});
    const std::string raw = Header(2, 2, 1, 24) + Stored(24, {kA, kB});
    const Case cases[] = {
        {"ID length 1", Patched(rle, 0, 1), "", "image ID length is 1"},
        {"colour map type 1", Patched(raw, 1, 1), "", "colour map type is 1"},
        {"type 1", Patched(raw, 2, 1), "", "image type is 1"},
        {"type 3", Patched(raw, 2, 3), "", "image type is 3"},
        {"type 9", Patched(rle, 2, 9), "", "image type is 9"},
        {"type 11", Patched(rle, 2, 11), "", "image type is 11"},
        {"colour map length", Patched(raw, 5, 1), "", "colour map specification"},
        {"x origin 256", Patched(raw, 9, 1), "", "x origin is 256"},
        {"y origin 1", Patched(rle, 10, 1), "", "y origin is 1"},
        {"8-bit raw", Header(2, 2, 1, 8) + "xy", kRawLine, "8 bits per pixel"},
        {"16-bit raw", Header(2, 2, 1, 16) + "xyzw", kRawLine, "16 bits per pixel"},
        {"16-bit run-length", Header(10, 2, 1, 16) + Byte(129) + "xy", kRleLine, "16 bits per pixel"},
        {"zero width", Header(2, 0, 1, 24), kRawLine, "width is 0"},
        {"zero height", Header(10, 1, 0, 32) + Byte(0) + Stored(32, {kA}), kRleLine, "height is 0"},
        {"65535 wide", Header(2, 65535, 1, 24) + Stored(24, {kA}), kRawLine, "larger than"},
        {"16384 square raw, one pixel there", Header(2, 16384, 16384, 32) + Stored(32, {kA}), kRawLine,
         "pixels need 1073741842 bytes"},
        {"16384 square run-length, one run there", Header(10, 16384, 16384, 32) + Byte(255) + Stored(32, {kA}),
         kRleLine, "need at least 10485778 bytes"},
        {"129 pixels a byte short of two packets",
         Header(10, 129, 1, 24) + Byte(255) + Stored(24, {kC}) + Byte(0) + "xy", kRleLine, "need at least 26"},
        {"ends inside the prefix", raw.substr(0, 5), "", "ends after 5 bytes"},
        {"raw ends inside the sizes", raw.substr(0, 15), "", "ends after 15 bytes"},
        {"run-length ends inside the sizes", rle.substr(0, 15), kRleLine, "ends after 15 bytes"},
        {"raw pixel data a byte short", raw.substr(0, raw.size() - 1), kRawLine, "need 24 bytes but the file has 23"},
        {"inside a raw packet", Header(10, 4, 1, 24) + Byte(3) + Stored(24, {kA, kB}) + "x", kRleLine,
         "inside a raw packet at pixel 0"},
        {"inside a run packet", Header(10, 2, 1, 24) + Byte(0) + Stored(24, {kA}) + Byte(128) + "xy", kRleLine,
         "inside a run packet at pixel 1"},
        {"before a packet header", Header(10, 4, 1, 24) + Byte(1) + Stored(24, {kA, kB}), kRleLine,
         "packets end after 2 of 4 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        velqtest::TempDir dir;
        const Loaded l = Load(dir, c.file);
        EXPECT_FALSE(l.ok);
        EXPECT_EQ(l.out, c.out);
        EXPECT_EQ(l.err.rfind("TGA " + kPath + ": ", 0), 0u) << l.err;
        EXPECT_NE(l.err.find(c.reason), std::string::npos) << l.err;
        EXPECT_EQ(l.err.find('\n'), l.err.size() - 1) << "one line";
        EXPECT_TRUE(l.image.pixels.empty());
        EXPECT_EQ(l.image.pixels.capacity(), 0u) << "the old image is freed";
        EXPECT_EQ(l.image.width + l.image.height + l.image.bitsPerPixel + l.image.format, 0u);
        EXPECT_EQ(l.image.glName, 7u);
    }
}

TEST(Tga, AFileThatDoesNotOpenPrintsItsLine)
{
    velqtest::TempDir dir;
    TextureImage image;
    velqtest::CaptureCout out;
    CaptureCerr err;
    EXPECT_FALSE(LoadTga(image, "missing.tga"));
    EXPECT_EQ(out.Text(), "aaaaaaaaaaaaaaa\n");
    EXPECT_NE(err.Text().find("Resources/Textures/missing.tga"), std::string::npos);
}

TEST(TextureFiles, LoadInTheirOrderIntoTheirSlotsAndStopAtTheFirstFailure)
{
    velqtest::TempDir dir;
    // Each slot's file is one pixel whose red is the slot number; the even slots run-length.
    const auto path = [](int slot) { return std::string("Resources/Textures/") + kTextureSlots[slot].file; };
    const auto write = [&](int slot) {
        const Rgba p{(unsigned char)slot, 1, 2, 3};
        dir.Write(path(slot), slot % 2 ? Header(2, 1, 1, 24) + Stored(24, {p})
                                       : Header(10, 1, 1, 32) + Byte(0) + Stored(32, {p}));
    };
    const auto lines = [&](int slot) {
        return slot % 2 ? "Loading Uncompressed TGA " + path(slot) + "\nLoading done\n"
                        : "Loading Compressed TGA " + path(slot) + "\n";
    };
    constexpr int kFlak = 6;  // third in load order
    for (int slot : kTextureLoadOrder)
        if (slot != kFlak)
            write(slot);
    TextureImage textures[kTextureSlotCount];
    {
        // Nothing after the missing file is even opened.
        velqtest::CaptureCout out;
        CaptureCerr err;
        EXPECT_FALSE(LoadTextureFiles(textures));
        EXPECT_EQ(out.Text(), lines(4) + lines(5) + "aaaaaaaaaaaaaaa\nerror loading texture\n");
    }
    write(kFlak);
    std::string expected;
    for (int slot : kTextureLoadOrder)
        expected += lines(slot);
    velqtest::CaptureCout out;
    EXPECT_TRUE(LoadTextureFiles(textures));
    EXPECT_EQ(out.Text(), expected);
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        if (slot == 17) {
            EXPECT_TRUE(textures[slot].pixels.empty());
        } else {
            ASSERT_FALSE(textures[slot].pixels.empty());
            EXPECT_EQ(textures[slot].pixels[0], slot);
        }
    }
}

TEST(TextureFiles, EveryGeneratedTextureLoadsWithPowerOfTwoSides)
{
    const char* env = std::getenv("VELQ_RESOURCES");
    const std::filesystem::path resources = env && *env ? env : VELQ_BUILD_RESOURCES;
    ASSERT_TRUE(std::filesystem::is_directory(resources / "Textures"))
        << "no generated Resources/Textures under " << resources
        << " (the build makes them with the velq_resources target)";
    velqtest::TempDir dir;
    std::filesystem::create_directory_symlink(resources, dir.Path() / "Resources");
    TextureImage textures[kTextureSlotCount];
    CaptureCerr err;
    {
        velqtest::CaptureCout out;
        ASSERT_TRUE(LoadTextureFiles(textures));
    }
    EXPECT_EQ(err.Text(), "");
    const auto powerOfTwo = [](std::uint32_t v) { return v > 0 && (v & (v - 1)) == 0; };
    for (int slot : kTextureLoadOrder) {
        const TextureImage& t = textures[slot];
        SCOPED_TRACE(kTextureSlots[slot].file);
        EXPECT_TRUE(powerOfTwo(t.width) && powerOfTwo(t.height)) << t.width << "x" << t.height;
        EXPECT_EQ(t.pixels.size(), size_t(t.width) * t.height * t.bitsPerPixel / 8);
        EXPECT_EQ(t.format, t.bitsPerPixel == 32 ? unsigned(GL_RGBA) : unsigned(GL_RGB));
    }
}
