// SPDX-License-Identifier: GPL-3.0-or-later
// Reader of MD2 model files from Resources/Models/, with checks on every size and index.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class MD2Model;

class MD2Loader {
public:
    // Limits of the format; a file that claims more is rejected.
    static constexpr int32_t kMaxSkins = 32;
    static constexpr int32_t kMaxVertices = 2048;
    static constexpr int32_t kMaxTexCoords = 2048;
    static constexpr int32_t kMaxTriangles = 4096;
    static constexpr int32_t kMaxFrames = 512;

    static constexpr int kHeaderSize = 68;
    static constexpr int kSkinNameSize = 64;
    static constexpr int kFrameNameSize = 16;
    static constexpr int kFrameHeaderSize = 40;  // scale, translate, name

    // Reads "Resources/Models/" + name into dest. Returns false and leaves dest an empty
    // model (not loaded, no frames) when the file is missing, is no MD2 model ("IDP2"),
    // has the wrong version, ends before its end offset or does not hold together; each
    // case prints one line saying why (a wrong version the game's own line and then the
    // file's name and version on a second).
    // Models without texture coordinates or frames, and GL commands that are not there,
    // load with a line that says so. Every line also goes to the file notes.
    bool Load(MD2Model& dest, const std::string& name);
    // Load on a path of the caller's choice; its lines name the file as name, or as the
    // path when name is empty.
    bool LoadFile(MD2Model& dest, const std::string& path, const std::string& name = "");

private:
    // Header fields, in file order.
    enum Field {
        kIdent, kVersion, kSkinWidth, kSkinHeight, kFrameSize, kNumSkins, kNumVertices,
        kNumTexCoords, kNumTriangles, kNumGlCommands, kNumFrames, kOffsetSkins,
        kOffsetTexCoords, kOffsetTriangles, kOffsetFrames, kOffsetGlCommands, kOffsetEnd,
        kFieldCount
    };

    struct TexCoord {
        int16_t s, t;
    };
    struct Triangle {
        uint16_t vertex[3];
        uint16_t texCoord[3];
    };
    struct Frame {
        char name[kFrameNameSize];
        std::vector<float> vertices;  // decoded, y mirrored
    };

    bool Read(const std::string& path, const std::string& name, MD2Model& model);
    bool CheckHeader(const std::string& name, int64_t fileSize);
    bool ReadBlock(int32_t offset, std::vector<uint8_t>& bytes, int64_t size);
    void BuildAnimations(MD2Model& model) const;
    void BuildFrames(MD2Model& model) const;
    void FreeArrays();

    int32_t header[kFieldCount] = {};
    std::vector<std::string> skins;
    std::vector<TexCoord> texCoords;
    std::vector<Triangle> triangles;
    std::vector<Frame> frames;

    // Loading is single-threaded: one file is open at a time.
    static FILE* file;
};
