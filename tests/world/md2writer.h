// Writes small MD2 files for the model tests, with every header field open to change.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace md2test {

// Header fields in file order.
enum Field {
    kIdent, kVersion, kSkinWidth, kSkinHeight, kFrameSize, kNumSkins, kNumVertices,
    kNumTexCoords, kNumTriangles, kNumGlCommands, kNumFrames, kOffsetSkins,
    kOffsetTexCoords, kOffsetTriangles, kOffsetFrames, kOffsetGlCommands, kOffsetEnd,
};

struct Frame {
    std::string name;
    float scale[3] = {1, 1, 1};
    float translate[3] = {0, 0, 0};
    std::vector<std::array<uint8_t, 3>> vertices;
};

struct File {
    int32_t skinWidth = 64;
    int32_t skinHeight = 32;
    std::vector<std::string> skins;
    std::vector<std::array<int16_t, 2>> texCoords;
    std::vector<std::array<uint16_t, 6>> triangles;  // 3 vertex, 3 texture-coordinate indices
    std::vector<Frame> frames;                       // all with the same vertex count
};

inline void PutInt(std::string& out, int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xff));
}

inline void PutFloat(std::string& out, float f)
{
    int32_t v;
    std::memcpy(&v, &f, 4);
    PutInt(out, v);
}

inline void PutShort(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

inline void PutName(std::string& out, const std::string& name, size_t size)
{
    std::string field = name.substr(0, size);
    field.resize(size, '\0');
    out += field;
}

// The file laid out as header, skins, texture coordinates, triangles, frames.
inline std::string Build(const File& f)
{
    const int32_t numVertices =
        f.frames.empty() ? 0 : static_cast<int32_t>(f.frames[0].vertices.size());
    const int32_t frameSize = 40 + 4 * numVertices;
    const int32_t offSkins = 68;
    const int32_t offTex = offSkins + 64 * static_cast<int32_t>(f.skins.size());
    const int32_t offTri = offTex + 4 * static_cast<int32_t>(f.texCoords.size());
    const int32_t offFrames = offTri + 12 * static_cast<int32_t>(f.triangles.size());
    const int32_t offEnd = offFrames + frameSize * static_cast<int32_t>(f.frames.size());

    std::string out;
    const int32_t header[17] = {
        0x32504449,  // "IDP2"
        8,
        f.skinWidth,
        f.skinHeight,
        frameSize,
        static_cast<int32_t>(f.skins.size()),
        numVertices,
        static_cast<int32_t>(f.texCoords.size()),
        static_cast<int32_t>(f.triangles.size()),
        0,
        static_cast<int32_t>(f.frames.size()),
        offSkins,
        offTex,
        offTri,
        offFrames,
        offEnd,
        offEnd,
    };
    for (int32_t v : header)
        PutInt(out, v);
    for (const std::string& s : f.skins)
        PutName(out, s, 64);
    for (const auto& tc : f.texCoords) {
        PutShort(out, static_cast<uint16_t>(tc[0]));
        PutShort(out, static_cast<uint16_t>(tc[1]));
    }
    for (const auto& tri : f.triangles)
        for (uint16_t i : tri)
            PutShort(out, i);
    for (const Frame& fr : f.frames) {
        for (float s : fr.scale)
            PutFloat(out, s);
        for (float t : fr.translate)
            PutFloat(out, t);
        PutName(out, fr.name, 16);
        for (const auto& v : fr.vertices) {
            out.push_back(static_cast<char>(v[0]));
            out.push_back(static_cast<char>(v[1]));
            out.push_back(static_cast<char>(v[2]));
            out.push_back('\0');  // normal index, ignored
        }
    }
    return out;
}

inline void SetField(std::string& bytes, Field field, int32_t value)
{
    std::string v;
    PutInt(v, value);
    bytes.replace(size_t(field) * 4, 4, v);
}

// A tetrahedron: four vertices, four triangles, three texture coordinates; one frame
// per name, each moved a little further up.
inline File Tetrahedron(const std::vector<std::string>& frameNames)
{
    File f;
    f.skins = {"skin.pcx"};
    f.texCoords = {{0, 0}, {32, 16}, {64, 32}};
    f.triangles = {{{0, 1, 2, 0, 1, 2}}, {{0, 3, 1, 0, 1, 2}}, {{1, 3, 2, 0, 1, 2}},
                   {{2, 3, 0, 0, 1, 2}}};
    for (size_t i = 0; i < frameNames.size(); ++i) {
        Frame fr;
        fr.name = frameNames[i];
        fr.translate[2] = static_cast<float>(i);
        fr.vertices = {{{0, 0, 0}}, {{20, 0, 0}}, {{0, 20, 0}}, {{0, 0, 20}}};
        f.frames.push_back(fr);
    }
    return f;
}

// Frame names base01 ... baseNN.
inline void AddNumbered(std::vector<std::string>& names, const std::string& base, int count)
{
    for (int i = 1; i <= count; ++i) {
        char number[12];
        std::snprintf(number, sizeof number, "%02d", i);
        names.push_back(base + number);
    }
}

}  // namespace md2test
