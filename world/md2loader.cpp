// SPDX-License-Identifier: GPL-3.0-or-later
// MD2 reader: header checks, blocks, decoded frames, animation list and vertex normals.
#include "world/md2loader.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "engine/filenotes.h"
#include "world/md2model.h"

FILE* MD2Loader::file = nullptr;

namespace {

constexpr int32_t kVersion8 = 8;
constexpr char kMagic[] = "IDP2";

int32_t ReadInt32(const uint8_t* p)
{
    const uint32_t u = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                       uint32_t(p[3]) << 24;
    int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

float ReadFloat(const uint8_t* p)
{
    const int32_t bits = ReadInt32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

uint16_t ReadUint16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool HasTerminator(const uint8_t* p, int size)
{
    return std::memchr(p, 0, static_cast<size_t>(size)) != nullptr;
}

// One line on standard output saying why the file is not used, or what in it was most
// likely not meant; the same to the file notes.
void Say(bool rejected, const std::string& name, const char* format, va_list args)
{
    char reason[256];
    std::vsnprintf(reason, sizeof reason, format, args);
    std::cout << "MD2 File " << name << (rejected ? " rejected: " : ": ") << reason << "\n";
    if (rejected)
        CFileNotes::Error(reason);
    else
        CFileNotes::Warning(reason);
}

void Reject(const std::string& name, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Say(true, name, format, args);
    va_end(args);
}

void Warn(const std::string& name, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Say(false, name, format, args);
    va_end(args);
}

// A block of count elements of elementSize bytes at offset lies inside the file.
// Done in 64 bits: 32-bit counts and offsets cannot overflow it.
bool BlockFits(int32_t offset, int32_t count, int64_t elementSize, int64_t fileSize)
{
    if (count == 0)
        return true;
    if (offset < 0)
        return false;
    const int64_t end = int64_t(offset) + int64_t(count) * elementSize;
    return end <= fileSize;
}

}  // namespace

bool MD2Loader::Load(MD2Model& dest, const std::string& name)
{
    return LoadFile(dest, "Resources/Models/" + name, name);
}

bool MD2Loader::LoadFile(MD2Model& dest, const std::string& path, const std::string& name)
{
    MD2Model model;
    const bool ok = Read(path, name.empty() ? path : name, model);
    if (file) {
        fclose(file);
        file = nullptr;
    }
    FreeArrays();
    dest = ok ? model : MD2Model();
    return ok;
}

bool MD2Loader::Read(const std::string& path, const std::string& name, MD2Model& model)
{
    file = fopen(path.c_str(), "rb");
    if (!file) {
        CFileNotes::Error(std::string("cannot be opened: ") + std::strerror(errno));
        std::cout << "Unable to open MD2 File" << "\n";
        return false;
    }
    if (fseek(file, 0, SEEK_END) != 0) {
        Reject(name, "its size cannot be read");
        return false;
    }
    const int64_t fileSize = ftell(file);
    if (fileSize < kHeaderSize) {
        Reject(name, "%lld bytes are too short for the %d-byte header",
               static_cast<long long>(fileSize), kHeaderSize);
        return false;
    }

    std::vector<uint8_t> bytes;
    if (!ReadBlock(0, bytes, kHeaderSize)) {
        Reject(name, "the header cannot be read");
        return false;
    }
    for (int i = 0; i < kFieldCount; ++i)
        header[i] = ReadInt32(&bytes[i * 4]);

    if (std::memcmp(bytes.data(), kMagic, 4) != 0) {
        std::string ident;
        for (int i = 0; i < 4; ++i) {
            const unsigned char c = bytes[i];
            char spelled[8];
            if (c >= 0x20 && c < 0x7f)
                std::snprintf(spelled, sizeof spelled, "%c", c);
            else
                std::snprintf(spelled, sizeof spelled, "\\x%02X", c);
            ident += spelled;
        }
        Reject(name, "its ident is \"%s\", not \"%s\": no MD2 model", ident.c_str(), kMagic);
        return false;
    }
    if (header[kVersion] != kVersion8) {
        std::cout << "MD2 Model has a wrong version number" << "\n";
        Reject(name, "version %d, not %d", header[kVersion], kVersion8);
        return false;
    }
    if (!CheckHeader(name, fileSize))
        return false;
    // Accepted, but hardly meant. The game draws from the triangles, never from the
    // GL commands; other programs that read the format follow them.
    if (header[kNumGlCommands] < 0)
        Warn(name, "GL-command count %d is negative", header[kNumGlCommands]);
    else if (!BlockFits(header[kOffsetGlCommands], header[kNumGlCommands], 4, fileSize))
        Warn(name, "the GL-command block at offset %d does not lie inside the file (%lld bytes)",
             header[kOffsetGlCommands], static_cast<long long>(fileSize));
    if (header[kNumTexCoords] == 0)
        Warn(name, "no texture coordinates: the model is drawn untextured");
    if (header[kNumFrames] == 0)
        Warn(name, "no frames: the model is drawn as its box only");

    const int32_t numSkins = header[kNumSkins];
    const int32_t numVertices = header[kNumVertices];
    const int32_t numTexCoords = header[kNumTexCoords];
    const int32_t numTriangles = header[kNumTriangles];
    const int32_t numFrames = header[kNumFrames];
    const int32_t frameSize = header[kFrameSize];

    // Skins: read for completeness, not used.
    if (!ReadBlock(header[kOffsetSkins], bytes, int64_t(numSkins) * kSkinNameSize)) {
        Reject(name, "the skin names cannot be read");
        return false;
    }
    for (int32_t i = 0; i < numSkins; ++i) {
        const uint8_t* p = &bytes[size_t(i) * kSkinNameSize];
        if (!HasTerminator(p, kSkinNameSize)) {
            Reject(name, "skin name %d has no terminating zero", i);
            return false;
        }
        skins.emplace_back(reinterpret_cast<const char*>(p));
    }

    if (!ReadBlock(header[kOffsetTexCoords], bytes, int64_t(numTexCoords) * 4)) {
        Reject(name, "the texture coordinates cannot be read");
        return false;
    }
    texCoords.resize(size_t(numTexCoords));
    for (int32_t i = 0; i < numTexCoords; ++i) {
        texCoords[i].s = static_cast<int16_t>(ReadUint16(&bytes[size_t(i) * 4]));
        texCoords[i].t = static_cast<int16_t>(ReadUint16(&bytes[size_t(i) * 4 + 2]));
    }

    if (!ReadBlock(header[kOffsetTriangles], bytes, int64_t(numTriangles) * 12)) {
        Reject(name, "the triangles cannot be read");
        return false;
    }
    triangles.resize(size_t(numTriangles));
    for (int32_t i = 0; i < numTriangles; ++i) {
        Triangle& tri = triangles[i];
        for (int c = 0; c < 3; ++c) {
            tri.vertex[c] = ReadUint16(&bytes[size_t(i) * 12 + c * 2]);
            tri.texCoord[c] = ReadUint16(&bytes[size_t(i) * 12 + 6 + c * 2]);
            if (tri.vertex[c] >= numVertices) {
                Reject(name, "triangle %d points past the vertex list (%d of %d)", i,
                       tri.vertex[c], numVertices);
                return false;
            }
            if (numTexCoords > 0 && tri.texCoord[c] >= numTexCoords) {
                Reject(name,
                       "triangle %d points past the texture-coordinate list (%d of %d)", i,
                       tri.texCoord[c], numTexCoords);
                return false;
            }
        }
    }

    if (!ReadBlock(header[kOffsetFrames], bytes, int64_t(numFrames) * frameSize)) {
        Reject(name, "the frames cannot be read");
        return false;
    }
    frames.resize(size_t(numFrames));
    for (int32_t i = 0; i < numFrames; ++i) {
        const uint8_t* p = &bytes[size_t(i) * size_t(frameSize)];
        float scale[3], translate[3];
        for (int a = 0; a < 3; ++a) {
            scale[a] = ReadFloat(p + a * 4);
            translate[a] = ReadFloat(p + 12 + a * 4);
            if (!std::isfinite(scale[a]) || !std::isfinite(translate[a])) {
                Reject(name, "frame %d has a scale or translation that is not a number", i);
                return false;
            }
        }
        if (!HasTerminator(p + 24, kFrameNameSize)) {
            Reject(name, "the name of frame %d has no terminating zero", i);
            return false;
        }
        Frame& frame = frames[i];
        std::memcpy(frame.name, p + 24, kFrameNameSize);
        frame.vertices.resize(size_t(numVertices) * 3);
        const uint8_t* v = p + kFrameHeaderSize;
        for (int32_t k = 0; k < numVertices; ++k, v += 4) {
            // The y axis is mirrored on reading.
            frame.vertices[k * 3 + 0] = v[0] * scale[0] + translate[0];
            frame.vertices[k * 3 + 1] = -(v[1] * scale[1] + translate[1]);
            frame.vertices[k * 3 + 2] = v[2] * scale[2] + translate[2];
        }
    }

    model.loaded = true;
    model.frameCount = numFrames;
    BuildAnimations(model);
    BuildFrames(model);
    model.currentFrame = 0;
    return true;
}

bool MD2Loader::CheckHeader(const std::string& name, int64_t fileSize)
{
    struct CountRule {
        Field field;
        const char* what;
        int32_t min, max;
    };
    // Skins are not used, so a file may have none; a model without texture coordinates
    // is drawn untextured, one without frames as its box only. A mesh needs a triangle.
    static constexpr CountRule kCounts[] = {
        {kNumSkins, "skin", 0, kMaxSkins},
        {kNumVertices, "vertex", 1, kMaxVertices},
        {kNumTexCoords, "texture-coordinate", 0, kMaxTexCoords},
        {kNumTriangles, "triangle", 1, kMaxTriangles},
        {kNumFrames, "frame", 0, kMaxFrames},
    };
    for (const CountRule& rule : kCounts) {
        const int32_t count = header[rule.field];
        if (count < rule.min || count > rule.max) {
            Reject(name, "%s count %d is outside %d ... %d", rule.what, count, rule.min,
                   rule.max);
            return false;
        }
    }
    // The skin's size scales the texture coordinates.
    if (header[kNumTexCoords] > 0 && (header[kSkinWidth] <= 0 || header[kSkinHeight] <= 0)) {
        Reject(name, "skin size %d x %d is not positive", header[kSkinWidth],
               header[kSkinHeight]);
        return false;
    }
    const int64_t neededFrameSize = kFrameHeaderSize + int64_t(header[kNumVertices]) * 4;
    if (header[kFrameSize] < neededFrameSize) {
        Reject(name, "frame size %d is too small for %d vertices (needs %lld)",
               header[kFrameSize], header[kNumVertices],
               static_cast<long long>(neededFrameSize));
        return false;
    }

    struct BlockRule {
        Field offset, count;
        const char* what;
        int64_t elementSize;
    };
    const BlockRule blocks[] = {
        {kOffsetSkins, kNumSkins, "skin", kSkinNameSize},
        {kOffsetTexCoords, kNumTexCoords, "texture-coordinate", 4},
        {kOffsetTriangles, kNumTriangles, "triangle", 12},
        {kOffsetFrames, kNumFrames, "frame", header[kFrameSize]},
    };
    for (const BlockRule& block : blocks) {
        if (!BlockFits(header[block.offset], header[block.count], block.elementSize,
                       fileSize)) {
            Reject(name, "the %s block at offset %d does not lie inside the file (%lld bytes)",
                   block.what, header[block.offset], static_cast<long long>(fileSize));
            return false;
        }
    }
    // The end the file claims: a file cut short ends before it.
    if (header[kOffsetEnd] < kHeaderSize || header[kOffsetEnd] > fileSize) {
        Reject(name, "its end offset %d lies outside the file (%lld bytes)", header[kOffsetEnd],
               static_cast<long long>(fileSize));
        return false;
    }
    return true;
}

bool MD2Loader::ReadBlock(int32_t offset, std::vector<uint8_t>& bytes, int64_t size)
{
    bytes.resize(size_t(size));
    if (size == 0)
        return true;
    if (fseek(file, offset, SEEK_SET) != 0)
        return false;
    return fread(bytes.data(), 1, size_t(size), file) == size_t(size);
}

void MD2Loader::BuildAnimations(MD2Model& model) const
{
    const int32_t count = static_cast<int32_t>(frames.size());
    std::string previousBase;
    int32_t start = 0;
    for (int32_t i = 0; i < count; ++i) {
        // The frame number is a digit within the last two characters; a digit further
        // left belongs to the base (attack100 is attack1, number 0).
        std::string base = frames[i].name;
        const int32_t length = static_cast<int32_t>(base.size());
        int32_t number = 0;
        for (int32_t k = 0; k < length; ++k) {
            if (std::isdigit(static_cast<unsigned char>(base[k])) && k >= length - 2) {
                number = std::atoi(base.c_str() + k);
                base.resize(size_t(k));
                break;
            }
        }

        if (i == 0 || base != previousBase || i == count - 1) {
            if (i > 0) {
                MD2Animation anim;
                std::snprintf(anim.name, sizeof anim.name, "%s", previousBase.c_str());
                anim.end = i;
                // Frame numbers that do not count from 1 can put the start outside
                // the frames; keep the animation inside them.
                if (start < 0 || start > anim.end) {
                    std::cout << "MD2 animation " << anim.name << " starts at frame " << start
                              << ", outside 0 ... " << anim.end << "\n";
                    CFileNotes::Warning("animation " + previousBase + " starts at frame " + std::to_string(start) +
                                        ", outside 0 ... " + std::to_string(anim.end));
                    start = start < 0 ? 0 : anim.end;
                }
                anim.start = start;
                model.animations.push_back(anim);
                ++model.animationCount;
            }
            start = number + i - 1;
        }
        previousBase = base;
    }
}

void MD2Loader::BuildFrames(MD2Model& model) const
{
    const int32_t numVertices = header[kNumVertices];
    const int32_t numTexCoords = header[kNumTexCoords];
    const int32_t numTriangles = header[kNumTriangles];
    const double skinWidth = header[kSkinWidth];
    const double skinHeight = header[kSkinHeight];

    for (size_t f = 0; f < frames.size(); ++f) {
        auto frame = std::make_shared<MD2Frame>();
        frame->vertexCount = numVertices;
        frame->triangleCount = numTriangles;
        frame->texCoordCount = numTexCoords;
        frame->vertices = frames[f].vertices;
        if (f == 0) {
            frame->texCoords.resize(size_t(numTexCoords) * 2);
            for (int32_t i = 0; i < numTexCoords; ++i) {
                frame->texCoords[i * 2] = texCoords[i].s / skinWidth;
                frame->texCoords[i * 2 + 1] = 1.0 - texCoords[i].t / skinHeight;
            }
            frame->triangles.resize(size_t(numTriangles) * 6);
            for (int32_t i = 0; i < numTriangles; ++i) {
                for (int c = 0; c < 3; ++c) {
                    frame->triangles[i * 6 + c] = triangles[i].vertex[c];
                    frame->triangles[i * 6 + 3 + c] = triangles[i].texCoord[c];
                }
            }
        }

        // Vertex normals: the mean of the face normals around each vertex, using the
        // first frame's triangles on this frame's positions.
        std::vector<float> sum(size_t(numVertices) * 3, 0.0f);
        std::vector<int32_t> uses(size_t(numVertices), 0);
        const std::vector<float>& v = frame->vertices;
        for (const Triangle& tri : triangles) {
            const float* a = &v[tri.vertex[0] * 3];
            const float* b = &v[tri.vertex[1] * 3];
            const float* c = &v[tri.vertex[2] * 3];
            const float ac[3] = {a[0] - c[0], a[1] - c[1], a[2] - c[2]};
            const float cb[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
            const float n[3] = {ac[1] * cb[2] - ac[2] * cb[1], ac[2] * cb[0] - ac[0] * cb[2],
                                ac[0] * cb[1] - ac[1] * cb[0]};
            for (int k = 0; k < 3; ++k) {
                const int32_t idx = tri.vertex[k];
                sum[idx * 3] += n[0];
                sum[idx * 3 + 1] += n[1];
                sum[idx * 3 + 2] += n[2];
                ++uses[idx];
            }
        }
        frame->normals.assign(size_t(numVertices) * 3, 0.0f);
        for (int32_t i = 0; i < numVertices; ++i) {
            if (uses[i] == 0)
                continue;  // not part of the mesh, never drawn
            float n[3];
            for (int a = 0; a < 3; ++a)
                n[a] = sum[i * 3 + a] / -static_cast<float>(uses[i]);
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (length > 0.0f)
                for (int a = 0; a < 3; ++a)
                    frame->normals[i * 3 + a] = n[a] / length;
        }
        model.frames.push_back(frame);
    }
}

void MD2Loader::FreeArrays()
{
    skins.clear();
    texCoords.clear();
    triangles.clear();
    frames.clear();
    std::memset(header, 0, sizeof header);
}
