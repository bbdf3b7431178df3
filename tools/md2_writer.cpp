// SPDX-License-Identifier: GPL-3.0-or-later
// MD2 encoding of a posed mesh: header, skin name, texture coordinates,
// triangles, byte-compressed frames and GL commands.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "common.h"
#include "mesh.h"

namespace assetgen {

namespace {
constexpr int kIdent = 'I' | ('D' << 8) | ('P' << 16) | ('2' << 24);
constexpr int kVersion = 8;
constexpr int kHeaderBytes = 17 * 4;
constexpr int kSkinNameBytes = 64;
constexpr int kFrameNameBytes = 16;
constexpr int kFrameHeaderBytes = 6 * 4 + kFrameNameBytes;
}  // namespace

std::string FrameName(const std::string& base, int number) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", number);
    return base + buf;
}

std::vector<uint8_t> EncodeMd2(const Mesh& mesh, const std::string& skinName, const std::vector<Keyframe>& frames) {
    const int vertexCount = static_cast<int>(mesh.Vertices().size());
    const int stCount = static_cast<int>(mesh.TexCoords().size());
    const int triCount = static_cast<int>(mesh.Triangles().size());
    const int skinCount = skinName.empty() ? 0 : 1;
    const int frameBytes = kFrameHeaderBytes + 4 * vertexCount;
    const int ofsSkins = kHeaderBytes;
    const int ofsSt = ofsSkins + skinCount * kSkinNameBytes;
    const int ofsTris = ofsSt + stCount * 4;
    const int ofsFrames = ofsTris + triCount * 12;
    const int ofsGlCommands = ofsFrames + frameBytes * static_cast<int>(frames.size());
    const std::vector<GlCommandList> glCommands = BuildGlCommands(mesh);
    int glWords = 1;  // the closing 0
    for (const GlCommandList& list : glCommands) glWords += 1 + 3 * static_cast<int>(list.corners.size());
    const int ofsEnd = ofsGlCommands + 4 * glWords;

    ByteWriter out;
    for (int v : {kIdent, kVersion, mesh.SkinWidth(), mesh.SkinHeight(), frameBytes, skinCount, vertexCount, stCount,
                  triCount, glWords, static_cast<int>(frames.size()), ofsSkins, ofsSt, ofsTris, ofsFrames, ofsGlCommands,
                  ofsEnd})
        out.S32(v);
    if (skinCount) out.FixedString(skinName, kSkinNameBytes);
    for (const auto& st : mesh.TexCoords()) {
        out.S16(st[0]);
        out.S16(st[1]);
    }
    for (const Triangle& t : mesh.Triangles()) {
        for (int v : t.vertex) out.U16(static_cast<uint32_t>(v));
        for (int v : t.texCoord) out.U16(static_cast<uint32_t>(v));
    }
    for (const Keyframe& f : frames) {
        assert(static_cast<int>(f.vertices.size()) == vertexCount);
        assert(f.name.size() < kFrameNameBytes);
        // The reader mirrors y, so the file holds -y.
        float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
        for (const Vec3& v : f.vertices) {
            const float c[3] = {v.x, -v.y, v.z};
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], c[k]);
                hi[k] = std::max(hi[k], c[k]);
            }
        }
        float scale[3];
        for (int k = 0; k < 3; ++k) scale[k] = hi[k] > lo[k] ? (hi[k] - lo[k]) / 255.0f : 1.0f;
        for (int k = 0; k < 3; ++k) out.F32(scale[k]);
        for (int k = 0; k < 3; ++k) out.F32(lo[k]);
        out.FixedString(f.name, kFrameNameBytes);
        for (const Vec3& v : f.vertices) {
            const float c[3] = {v.x, -v.y, v.z};
            for (int k = 0; k < 3; ++k) out.U8(static_cast<uint32_t>(std::clamp(std::lround((c[k] - lo[k]) / scale[k]), 0L, 255L)));
            out.U8(0);  // normal index: the game computes its own normals
        }
    }
    // Each list: its corner count (negative for a fan), then s and t as fractions
    // of the skin measured like the texture coordinates above, and the vertex.
    for (const GlCommandList& list : glCommands) {
        const int n = static_cast<int>(list.corners.size());
        out.S32(list.fan ? -n : n);
        for (const GlCorner& c : list.corners) {
            const auto& st = mesh.TexCoords()[c.texCoord];
            out.F32(static_cast<float>(st[0]) / static_cast<float>(mesh.SkinWidth()));
            out.F32(static_cast<float>(st[1]) / static_cast<float>(mesh.SkinHeight()));
            out.S32(c.vertex);
        }
    }
    out.S32(0);
    assert(static_cast<int>(out.Size()) == ofsEnd);
    return out.bytes;
}

}  // namespace assetgen
