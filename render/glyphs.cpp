// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 decoding onto the font's glyph codes.
#include "render/glyphs.h"

#include <cmath>

namespace {

constexpr char32_t kNotUtf8 = 0xFFFFFFFF;

// The character starting at p, which moves past it, or kNotUtf8 where the bytes are no
// well-formed character (a lead byte without its continuation bytes is passed alone).
// Never reads past the terminating zero, which is no continuation byte.
char32_t Next(const unsigned char*& p)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0, least = 0;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, c = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, c = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, c = lead & 0x07, least = 0x10000;
    else
        return kNotUtf8;
    for (int i = 0; i < extra; ++i) {
        if ((*p & 0xC0) != 0x80)
            return kNotUtf8;
        c = (c << 6) | (*p++ & 0x3F);
    }
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return c < least || c > 0x10FFFF || surrogate ? kNotUtf8 : c;
}

}  // namespace

int GlyphCode(char32_t c)
{
    if (c >= static_cast<char32_t>(kFirstGlyphCode) && c < 127)
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kUpperGlyphs[i] == c)
            return 128 + i;
    return 0;
}

size_t ToGlyphCodes(const char* utf8, unsigned char* codes, size_t capacity, size_t* missing)
{
    size_t count = 0, lacking = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p && count + 1 < capacity) {
        const int code = GlyphCode(Next(p));
        lacking += code == 0;
        codes[count++] = static_cast<unsigned char>(code == 0 ? '?' : code);
    }
    if (capacity > 0)
        codes[count] = 0;
    if (missing)
        *missing = lacking;
    return count;
}

int TextWidth(const char* utf8, float scaleX)
{
    int glyphs = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++glyphs)
        Next(p);
    if (glyphs == 0)
        return 0;
    return static_cast<int>(std::ceil(((glyphs - 1) * kGlyphAdvance + kGlyphSize) * scaleX));
}
