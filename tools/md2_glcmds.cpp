// SPDX-License-Identifier: GPL-3.0-or-later
// Triangle strips and fans over a mesh's triangles, greedily grown across shared
// edges, for the GL-command block of an MD2 file.
#include <map>
#include <utility>

#include "mesh.h"

namespace assetgen {

namespace {

// Corners are told apart by vertex and texel position, not by texture-coordinate
// index: the ellipsoids give neighbouring triangles equal coordinates under
// different indices, and those triangles still join.
class Stripifier {
public:
    explicit Stripifier(const Mesh& mesh) {
        std::map<std::array<int, 3>, int> ids;
        for (const Triangle& t : mesh.Triangles()) {
            std::array<int, 3> c{};
            for (int k = 0; k < 3; ++k) {
                const auto& st = mesh.TexCoords()[t.texCoord[k]];
                const auto key = std::array<int, 3>{t.vertex[k], st[0], st[1]};
                const auto found = ids.emplace(key, static_cast<int>(corners.size()));
                if (found.second) corners.push_back({t.vertex[k], t.texCoord[k]});
                c[k] = found.first->second;
            }
            triCorners.push_back(c);
        }
        for (size_t t = 0; t < triCorners.size(); ++t) {
            const auto& c = triCorners[t];
            // A triangle with a repeated corner has no edge to cross; it stays alone.
            if (c[0] == c[1] || c[1] == c[2] || c[2] == c[0]) continue;
            for (int k = 0; k < 3; ++k) edges[{c[k], c[(k + 1) % 3]}].push_back(static_cast<int>(t));
        }
        mark.assign(triCorners.size(), kFree);
    }

    std::vector<GlCommandList> Build() {
        std::vector<GlCommandList> out;
        std::vector<int> list, best, bestTriangles;
        for (size_t t = 0; t < triCorners.size(); ++t) {
            if (mark[t] == kUsed) continue;
            // Every strip and fan through this triangle's three rotations; the
            // longest wins, a strip on a tie.
            bool bestFan = false;
            best.clear();
            for (bool fan : {false, true})
                for (int rotation = 0; rotation < 3; ++rotation) {
                    Grow(static_cast<int>(t), rotation, fan, list);
                    if (list.size() > best.size()) {
                        best.swap(list);
                        bestTriangles = trial;
                        bestFan = fan;
                    }
                }
            for (int taken : trial) mark[taken] = kFree;
            trial.clear();
            for (int taken : bestTriangles) mark[taken] = kUsed;
            GlCommandList cmd;
            cmd.fan = bestFan;
            for (int corner : best) cmd.corners.push_back(corners[corner]);
            out.push_back(std::move(cmd));
        }
        return out;
    }

private:
    static constexpr int kFree = 0, kTrial = 1, kUsed = 2;

    // The free triangle holding the directed edge from -> to, or -1; its third
    // corner, the one after `to`, goes to third.
    int Across(int from, int to, int& third) const {
        const auto it = edges.find({from, to});
        if (it == edges.end()) return -1;
        for (int t : it->second) {
            if (mark[t] != kFree) continue;
            const auto& c = triCorners[t];
            for (int k = 0; k < 3; ++k)
                if (c[k] == to) third = c[(k + 1) % 3];
            return t;
        }
        return -1;
    }

    // The corners of the strip or fan that starts with triangle start turned by
    // rotation. The triangles it takes are in trial and marked kTrial until the next call.
    void Grow(int start, int rotation, bool fan, std::vector<int>& list) {
        for (int t : trial) mark[t] = kFree;
        trial.assign(1, start);
        mark[start] = kTrial;
        const auto& c = triCorners[start];
        list.assign({c[rotation], c[(rotation + 1) % 3], c[(rotation + 2) % 3]});
        for (;;) {
            const size_t n = list.size();
            // The next strip triangle shares the last edge; odd ones run it
            // backwards, so the strip keeps the winding of the triangle list.
            const bool odd = (n - 2) % 2 == 1;
            const int from = fan ? list[0] : odd ? list[n - 1] : list[n - 2];
            const int to = fan ? list[n - 1] : odd ? list[n - 2] : list[n - 1];
            int third = -1;
            const int t = Across(from, to, third);
            if (t < 0) break;
            mark[t] = kTrial;
            trial.push_back(t);
            list.push_back(third);
        }
    }

    std::vector<GlCorner> corners;
    std::vector<std::array<int, 3>> triCorners;
    std::map<std::pair<int, int>, std::vector<int>> edges;
    std::vector<int> mark, trial;
};

}  // namespace

std::vector<GlCommandList> BuildGlCommands(const Mesh& mesh) { return Stripifier(mesh).Build(); }

}  // namespace assetgen
