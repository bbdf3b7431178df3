// SPDX-License-Identifier: GPL-3.0-or-later
// The game's readers on the generated files, and an MD2 parser of the tests' own.
#include "asset_files.h"
#include "render/tga.h"
#include "world/maploader.h"

namespace assettest {

std::string ResourceDir() {
    const char* env = std::getenv("VELQ_RESOURCES");
    return env ? env : VELQ_TEST_RESOURCES;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Tga LoadTexture(const std::string& name) {
    const std::string path = ResourceDir() + "/Textures/" + name;
    TextureImage image;
    std::streambuf* console = std::cout.rdbuf(nullptr);  // the reader's progress lines
    EXPECT_TRUE(LoadTgaFile(image, path)) << name;
    std::cout.rdbuf(console);
    const Bytes file = ReadBytes(path);
    return {file.size() > 2 ? file[2] : 0, static_cast<int>(image.width), static_cast<int>(image.height),
            static_cast<int>(image.bitsPerPixel), std::move(image.pixels)};
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
    std::string cells;
    std::vector<std::string> rows;
    for (int r = 0; MapLoader::ReadCells(path, cells) && r < 64; ++r) rows.push_back(cells.substr(r * 65, 64));
    return rows;
}

}  // namespace assettest
