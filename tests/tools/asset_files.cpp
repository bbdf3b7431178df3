// Independent readers for TGA, MD2 and cell-map files used by the asset tests.
#include "asset_files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace assettest {

std::string ResourceDir() {
    const char* env = std::getenv("VELQ_RESOURCES");
    return env ? env : VELQ_TEST_RESOURCES;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static uint32_t U16(const Bytes& b, size_t o) { return b[o] | (b[o + 1] << 8); }

Tga DecodeTga(const Bytes& f, std::string& error) {
    Tga t;
    const auto fail = [&](const char* why) { return error = why, Tga(); };
    if (f.size() < 18) return fail("shorter than a header");
    t.type = f[2];
    t.width = static_cast<int>(U16(f, 12));
    t.height = static_cast<int>(U16(f, 14));
    t.bitsPerPixel = f[16];
    const int bpp = t.bitsPerPixel / 8;
    if ((t.type != 2 && t.type != 10) || (bpp != 3 && bpp != 4) || t.width == 0 || t.height == 0)
        return fail("not a 24/32-bit true-colour image");
    const size_t count = static_cast<size_t>(t.width) * t.height;
    std::vector<uint8_t> stored;  // file order: bottom row first
    size_t p = 18 + f[0];
    if (t.type == 2) {
        if (f.size() != p + count * bpp) return fail("pixel data size does not match the header");
        stored.assign(f.begin() + p, f.end());
    } else {
        while (stored.size() < count * bpp) {
            if (p >= f.size()) return fail("run-length data ends early");
            const int h = f[p++];
            const size_t n = h < 128 ? h + 1 : h - 127, raw = h < 128 ? n : 1;
            if (p + raw * bpp > f.size()) return fail("packet runs past the end of the file");
            if (stored.size() + n * bpp > count * bpp) return fail("packet runs past the last pixel");
            for (size_t k = 0; k < n; ++k) {
                const size_t src = p + (h < 128 ? k : 0) * bpp;
                stored.insert(stored.end(), f.begin() + src, f.begin() + src + bpp);
            }
            p += raw * bpp;
        }
        if (p != f.size()) return fail("bytes left after the last pixel");
    }
    t.rgba.resize(count * 4);
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) {
            const uint8_t* s = &stored[((static_cast<size_t>(t.height) - 1 - y) * t.width + x) * bpp];
            uint8_t* d = &t.rgba[(static_cast<size_t>(y) * t.width + x) * 4];
            d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = bpp == 4 ? s[3] : 255;
        }
    return t;
}

bool ParseMd2(const Bytes& f, Md2& m, std::string& error) {
    const auto fail = [&](const char* why) { return error = why, false; };
    if (f.size() < 68) return fail("shorter than a header");
    std::memcpy(m.header, f.data(), 68);
    const int32_t* h = m.header;
    const int32_t version = h[1], frameSize = h[4], skins = h[5], verts = h[6], sts = h[7], tris = h[8];
    const int32_t frames = h[10], ofsSkins = h[11], ofsSt = h[12], ofsTris = h[13], ofsFrames = h[14];
    const int32_t ofsEnd = h[16];
    m.skinWidth = h[2];
    m.skinHeight = h[3];
    if (std::memcmp(f.data(), "IDP2", 4) != 0 || version != 8) return fail("not an MD2 version 8 file");
    if (m.skinWidth <= 0 || m.skinHeight <= 0 || verts <= 0 || sts <= 0 || tris <= 0 || frames <= 0 || skins < 0)
        return fail("a count or skin size is not positive");
    if (frameSize != 40 + 4 * verts) return fail("frame size does not match the vertex count");
    const auto inside = [&](int64_t ofs, int64_t bytes) { return ofs >= 68 && ofs + bytes <= static_cast<int64_t>(f.size()); };
    if (!inside(ofsSkins, 64LL * skins) || !inside(ofsSt, 4LL * sts) || !inside(ofsTris, 12LL * tris) ||
        !inside(ofsFrames, static_cast<int64_t>(frameSize) * frames) || ofsEnd != static_cast<int64_t>(f.size()))
        return fail("a block lies outside the file");
    m.st.resize(2 * sts);
    std::memcpy(m.st.data(), &f[ofsSt], 4 * sts);
    m.tris.resize(6 * tris);
    std::memcpy(m.tris.data(), &f[ofsTris], 12 * tris);
    for (int i = 0; i < frames; ++i) {
        const uint8_t* p = &f[ofsFrames + static_cast<size_t>(frameSize) * i];
        float scale[3], translate[3];
        std::memcpy(scale, p, 12);
        std::memcpy(translate, p + 12, 12);
        Md2Frame fr;
        fr.name.assign(reinterpret_cast<const char*>(p + 24), strnlen(reinterpret_cast<const char*>(p + 24), 16));
        for (int v = 0; v < verts; ++v) {
            const uint8_t* q = p + 40 + 4 * v;
            fr.xyz.push_back(q[0] * scale[0] + translate[0]);
            fr.xyz.push_back(-(q[1] * scale[1] + translate[1]));
            fr.xyz.push_back(q[2] * scale[2] + translate[2]);
        }
        m.frames.push_back(fr);
    }
    return true;
}

std::vector<std::string> ReadCellMap(const std::string& path) {
    const Bytes b = ReadBytes(path);
    std::vector<std::string> rows;
    if (b.size() != 64 * 65) return rows;
    for (int r = 0; r < 64; ++r) {
        if (b[r * 65 + 64] != '\n') return {};
        rows.emplace_back(reinterpret_cast<const char*>(&b[r * 65]), 64);
    }
    return rows;
}

}  // namespace assettest
