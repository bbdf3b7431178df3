// SPDX-License-Identifier: GPL-3.0-or-later
// TGA reader: both types at both depths, each broken header and file, and the texture set's load rule.
#include <GL/gl.h>

#include "render/tga.h"
#include "support/testutil.h"

namespace {

const std::string kPath = "Resources/Textures/t.tga";
const std::string kRawLine = "Loading Uncompressed TGA " + kPath + "\n";
const std::string kRawLines = kRawLine + "Loading done\n";
const std::string kRleLine = "Loading Compressed TGA " + kPath + "\n";

// The 18-byte header, then the image ID field.
std::string Header(int type, unsigned width, unsigned height, int bpp, int descriptor = 0, const std::string& id = "")
{
    std::string h(18, '\0');
    h[0] = char(id.size());
    h[17] = char(descriptor);
    h[2] = char(type);
    h[12] = char(width);
    h[13] = char(width >> 8);
    h[14] = char(height);
    h[15] = char(height >> 8);
    h[16] = char(bpp);
    return h + id;
}

// Decoded pixels (red first) as the file stores them (blue first).
std::string Stored(std::string pixels, size_t pixelBytes)
{
    for (size_t i = 0; i + 2 < pixels.size(); i += pixelBytes)
        std::swap(pixels[i], pixels[i + 2]);
    return pixels;
}

std::string B(int byte) { return std::string(1, char(byte)); }
std::string Patched(std::string s, size_t at, int value)
{
    s[at] = char(value);
    return s;
}

using velqtest::CaptureCerr;

struct Loaded {
    bool ok;
    TextureImage image;
    std::string out, err;
};

// Loads file as t.tga into a record that already holds another image and a GL name.
Loaded Load(const std::string& file)
{
    velqtest::TempDir dir;
    dir.Write(kPath, file);
    Loaded l{};
    l.image = {std::vector<unsigned char>(12, 1), 24, 2, 2, 7, GL_RGB};
    velqtest::CaptureCout out;
    CaptureCerr err;
    l.ok = LoadTga(l.image, "t.tga");
    l.out = out.Text();
    l.err = err.Text();
    return l;
}

}  // namespace

TEST(Tga, BothTypesAtBothDepthsDecodeToRedGreenBlueRowsBottomUpAndCutALastPacketAtTheImageEnd)
{
    const std::string cut = "TGA " + kPath + ": the last packet runs 1 past the image's end; the excess is ignored\n";
    const auto odd = [](const char* sides) {
        return "TGA " + kPath + ": " + sides + " has a side that is no power of two, which OpenGL 1.x cannot take\n";
    };
    struct Case {
        const char* what;
        std::string file;
        unsigned width, height, bpp;
        std::string pixels, out, err;
    } const cases[] = {
        {"24-bit raw", Header(2, 2, 2, 24) + Stored("abcdefghijkl", 3), 2, 2, 24, "abcdefghijkl", kRawLines, ""},
        {"32-bit raw, a footer after it", Header(2, 1, 2, 32) + Stored("abcdefgh", 4) + "TRUEVISION", 1, 2, 32,
         "abcdefgh", kRawLines, ""},
        {"raw of one, run of two, raw of three across rows",
         Header(10, 3, 2, 24) + B(0) + Stored("abc", 3) + B(129) + Stored("def", 3) + B(2) + Stored("ghijklabc", 3),
         3, 2, 24, "abcdefdefghijklabc", kRleLine, odd("3x2")},
        {"32-bit run of 128 in the fewest bytes", Header(10, 128, 1, 32) + B(255) + "aaaa", 128, 1, 32,
         std::string(512, 'a'), kRleLine, ""},
        {"run of 3 on 2 pixels", Header(10, 2, 1, 32) + B(130) + Stored("abcd", 4), 2, 1, 32, "abcdabcd", kRleLine,
         cut},
        {"raw of 2 on the last pixel, its excess missing", Header(10, 2, 1, 24) + B(0) + Stored("abc", 3) + B(1) +
         Stored("def", 3), 2, 1, 24, "abcdef", kRleLine, cut},
        // Descriptor bit 5: rows stored top-down; bit 4: right to left. The ID field is skipped.
        {"raw, rows top-down", Header(2, 2, 2, 24, 0x20) + Stored("abcdefghijkl", 3), 2, 2, 24, "ghijklabcdef",
         kRawLines, ""},
        {"3 x 2 raw, top-down and right to left", Header(2, 3, 2, 24, 0x30) + Stored("abcdefghijklmnopqr", 3), 3, 2,
         24, "pqrmnojklghidefabc", kRawLines, odd("3x2")},
        {"run-length right to left after an ID field", Header(10, 3, 1, 32, 0x18, "GIMP") + B(0) +
         Stored("abcd", 4) + B(129) + Stored("efgh", 4), 3, 1, 32, "efghefghabcd", kRleLine, odd("3x1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded l = Load(c.file);
        ASSERT_TRUE(l.ok) << l.err;
        const unsigned format = c.bpp == 32 ? GL_RGBA : GL_RGB, glName = 7;  // the upload's name stays
        EXPECT_EQ(std::tie(l.image.width, l.image.height, l.image.bitsPerPixel, l.image.format, l.image.glName),
                  std::tie(c.width, c.height, c.bpp, format, glName));
        EXPECT_EQ(std::string(l.image.pixels.begin(), l.image.pixels.end()), c.pixels);
        EXPECT_EQ(l.out, c.out);
        EXPECT_EQ(l.err, c.err);
    }
}

TEST(Tga, EveryBrokenHeaderOrShortFileIsRejectedWithItsReasonAndAnEmptyRecord)
{
    const std::string raw = Header(2, 2, 1, 24) + Stored("abcdef", 3);
    const std::string rle = Header(10, 2, 1, 24) + B(129) + Stored("abc", 3);
    struct Case {
        const char* what;
        std::string file, out, reason;
    } const cases[] = {
        {"an ID field past the end", Patched(raw, 0, 200), kRawLine, "pixels need 224 bytes but the file has 24"},
        {"colour map type 1", Patched(raw, 1, 1), "", "colour map type is 1"},
        {"type 1", Patched(raw, 2, 1), "", "image type is 1,"},
        {"colour map length", Patched(raw, 5, 1), "", "colour map specification"},
        {"x origin 256", Patched(raw, 9, 1), "", "x origin is 256"},
        {"8-bit raw", Header(2, 2, 1, 8) + "xy", kRawLine, "8 bits per pixel"},
        {"16-bit run-length", Header(10, 2, 1, 16) + B(129) + "xy", kRleLine, "16 bits per pixel"},
        {"zero width", Header(2, 0, 1, 24), kRawLine, "width is 0"},
        {"zero height", Header(10, 1, 0, 32) + B(0) + "abcd", kRleLine, "height is 0"},
        {"65535 wide", Header(2, 65535, 1, 24) + "abc", kRawLine, "larger than 16384"},
        // The budget of a texture, 64 MiB of pixels, is kept before anything is allocated.
        {"8192 square run-length in a few bytes", Header(10, 8192, 8192, 32) + std::string(300, char(255)), kRleLine,
         "8192x8192 at 32 bits per pixel needs 268435456 bytes, more than the 64 MiB a texture may take"},
        {"a row over the budget", Header(2, 4096, 4097, 32) + "abcd", kRawLine, "needs 67125248 bytes"},
        {"4096 square run-length, one run there", Header(10, 4096, 4096, 32) + B(255) + "abcd", kRleLine,
         "need at least 655378 bytes"},
        {"ends inside the prefix", raw.substr(0, 5), "", "ends after 5 bytes"},
        {"run-length ends inside the sizes", rle.substr(0, 15), kRleLine, "ends after 15 bytes"},
        {"raw pixel data a byte short", raw.substr(0, raw.size() - 1), kRawLine, "need 24 bytes but the file has 23"},
        {"inside a raw packet", Header(10, 4, 1, 24) + B(3) + "abcdef" + "x", kRleLine, "inside a raw packet at pixel 0"},
        {"inside a run packet", Header(10, 2, 1, 24) + B(0) + "abc" + B(128) + "xy", kRleLine,
         "inside a run packet at pixel 1"},
        {"before a packet header", Header(10, 4, 1, 24) + B(1) + "abcdef", kRleLine, "packets end after 2 of 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded l = Load(c.file);
        EXPECT_FALSE(l.ok);
        EXPECT_EQ(l.out, c.out);
        EXPECT_EQ(l.err.rfind("TGA " + kPath + ": ", 0), 0u) << l.err;
        EXPECT_NE(l.err.find(c.reason), std::string::npos) << l.err;
        EXPECT_EQ(l.image.pixels.capacity(), 0u) << "the old image is freed";
        EXPECT_EQ(l.image.width + l.image.height + l.image.bitsPerPixel + l.image.format, 0u);
        EXPECT_EQ(l.image.glName, 7u);
    }
    std::string runs;
    for (int i = 0; i < 4096 * 4096 / 128; ++i)
        runs += B(255) + "abcd";
    const Loaded edge = Load(Header(10, 4096, 4096, 32) + runs);
    EXPECT_EQ(std::make_tuple(edge.ok, edge.image.pixels.size()), std::make_tuple(true, size_t(kMaxTgaBytes)))
        << "the budget's edge is read";
}

TEST(TextureFiles, LoadInTheirOrderIntoTheirSlotsAndStopAtTheFirstMissingFile)
{
    velqtest::TempDir dir;
    // Each file is one pixel whose red is its slot; the odd slots raw, the even ones run-length.
    const auto path = [](int slot) { return std::string("Resources/Textures/") + kTextureSlots[slot].file; };
    const auto write = [&](int slot) {
        dir.Write(path(slot), slot % 2 ? Header(2, 1, 1, 24) + Stored(B(slot) + "gb", 3)
                                       : Header(10, 1, 1, 32) + B(0) + Stored(B(slot) + "gba", 4));
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
        velqtest::CaptureCout out;
        CaptureCerr err;
        EXPECT_FALSE(LoadTextureFiles(textures));
        // No file after the missing one is opened.
        EXPECT_EQ(out.Text(), lines(4) + lines(5) + "aaaaaaaaaaaaaaa\nerror loading texture\n");
    }
    write(kFlak);
    velqtest::CaptureCout quiet;
    ASSERT_TRUE(LoadTextureFiles(textures));
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        SCOPED_TRACE(slot);
        if (slot == 17)
            EXPECT_TRUE(textures[slot].pixels.empty());
        else
            EXPECT_EQ(textures[slot].pixels.at(0), slot);
    }
}
