// Writes small MD2 files for the model tests, with every header field open to change.
#pragma once

#include <array>
#include <cstdint>
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
    int32_t skinWidth = 64, skinHeight = 32;
    std::vector<std::string> skins;
    std::vector<std::array<int16_t, 2>> texCoords;
    std::vector<std::array<uint16_t, 6>> triangles;  // 3 vertex, 3 texture-coordinate indices
    std::vector<Frame> frames;                       // all with the same vertex count
};

// Little-endian bytes of a value, and a name in a zero-padded field.
template <typename T>
void Put(std::string& out, const T& v)
{
    out.append(reinterpret_cast<const char*>(&v), sizeof(T));
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
    const auto count = [](const auto& list) { return static_cast<int32_t>(list.size()); };
    const int32_t numVertices = f.frames.empty() ? 0 : count(f.frames[0].vertices);
    const int32_t frameSize = 40 + 4 * numVertices, offSkins = 68;
    const int32_t offTex = offSkins + 64 * count(f.skins), offTri = offTex + 4 * count(f.texCoords);
    const int32_t offFrames = offTri + 12 * count(f.triangles), offEnd = offFrames + frameSize * count(f.frames);
    const int32_t header[17] = {0x32504449 /* "IDP2" */, 8, f.skinWidth, f.skinHeight, frameSize, count(f.skins),
                                numVertices, count(f.texCoords), count(f.triangles), 0, count(f.frames), offSkins,
                                offTex, offTri, offFrames, offEnd, offEnd};
    std::string out;
    for (int32_t v : header)
        Put(out, v);
    for (const std::string& s : f.skins)
        PutName(out, s, 64);
    for (const auto& tc : f.texCoords)
        Put(out, tc);
    for (const auto& tri : f.triangles)
        Put(out, tri);
    for (const Frame& fr : f.frames) {
        Put(out, fr.scale);
        Put(out, fr.translate);
        PutName(out, fr.name, 16);
        for (const auto& v : fr.vertices)
            out += std::string(v.begin(), v.end()) + '\0';  // the normal index, ignored
    }
    return out;
}

inline void SetField(std::string& bytes, Field field, int32_t value)
{
    std::string v;
    Put(v, value);
    bytes.replace(size_t(field) * 4, 4, v);
}

// A tetrahedron: four vertices, four triangles, three texture coordinates; one frame
// per name, each moved a little further up.
inline File Tetrahedron(const std::vector<std::string>& frameNames)
{
    File f;
    f.skins = {"skin.pcx"};
    f.texCoords = {{0, 0}, {32, 16}, {64, 32}};
    f.triangles = {{{0, 1, 2, 0, 1, 2}}, {{0, 3, 1, 0, 1, 2}}, {{1, 3, 2, 0, 1, 2}}, {{2, 3, 0, 0, 1, 2}}};
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
    for (int i = 1; i <= count; ++i)
        names.push_back(base + (i < 10 ? "0" : "") + std::to_string(i));
}

}  // namespace md2test
