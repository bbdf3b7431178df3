// The GL-command block of each model: strips and fans that cover the triangle
// list once, with its corners, texture coordinates and winding, inside the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <set>
#include <tuple>

#include "asset_files.h"

using namespace assettest;

namespace {

struct Corner {
    int32_t vertex;
    float s, t;
    bool operator<(const Corner& o) const { return std::tie(vertex, s, t) < std::tie(o.vertex, o.s, o.t); }
};
using Tri = std::array<Corner, 3>;

// Turned to start at its smallest corner: equal only with the same winding.
Tri Canonical(Tri t) {
    std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    return t;
}

bool operator<(const Tri& a, const Tri& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

TEST(GlCommands, StripsAndFansCoverEveryTriangleOnceWithItsCornersAndWinding) {
    size_t longestStrip = 0;
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const Bytes file = ReadBytes(ResourceDir() + "/Models/" + name);
        Md2 m;
        std::string error;
        ASSERT_TRUE(ParseMd2(file, m, error)) << error;
        const int32_t* h = m.header;

        // Header, skins, texture coordinates, triangles, frames and GL commands
        // follow one another without overlap, and the last ends in the file.
        std::vector<std::pair<int64_t, int64_t>> blocks = {{0, 68}, {h[11], 64LL * h[5]}, {h[12], 4LL * h[7]},
                                                           {h[13], 12LL * h[8]}, {h[14], int64_t(h[4]) * h[10]},
                                                           {h[15], 4LL * h[9]}};
        ASSERT_GT(h[9], 0);
        std::sort(blocks.begin(), blocks.end());
        for (size_t i = 0; i + 1 < blocks.size(); ++i)
            ASSERT_LE(blocks[i].first + blocks[i].second, blocks[i + 1].first) << "block at " << blocks[i].first;
        ASSERT_LE(blocks.back().first + blocks.back().second, int64_t(file.size()));
        std::vector<int32_t> words(h[9]);
        std::memcpy(words.data(), &file[h[15]], 4 * words.size());

        std::multiset<Tri> expected;
        for (size_t i = 0; i < m.tris.size(); i += 6) {
            Tri t;
            for (int k = 0; k < 3; ++k) {
                const int st = m.tris[i + 3 + k];
                t[k] = {m.tris[i + k], float(m.st[2 * st]) / float(m.skinWidth), float(m.st[2 * st + 1]) / float(m.skinHeight)};
            }
            expected.insert(Canonical(t));
        }
        const size_t triangles = expected.size();
        size_t p = 0, corners = 0;
        for (;;) {
            ASSERT_LT(p, words.size()) << "the block has no closing 0";
            const int32_t n = words[p++];
            if (n == 0) break;
            const size_t len = std::abs(n);
            ASSERT_GE(len, 3u);
            ASSERT_LE(p + 3 * len, words.size()) << "a list runs past the block";
            std::vector<Corner> c(len);
            for (size_t i = 0; i < len; ++i, p += 3) {
                std::memcpy(&c[i].s, &words[p], 4);
                std::memcpy(&c[i].t, &words[p + 1], 4);
                c[i].vertex = words[p + 2];
            }
            corners += len;
            if (n > 0) longestStrip = std::max(longestStrip, len - 2);
            for (size_t i = 0; i + 2 < len; ++i) {
                const Tri t = n < 0 ? Tri{c[0], c[i + 1], c[i + 2]}
                                    : i % 2 ? Tri{c[i + 1], c[i], c[i + 2]} : Tri{c[i], c[i + 1], c[i + 2]};
                const auto it = expected.find(Canonical(t));
                ASSERT_NE(it, expected.end()) << (n < 0 ? "fan" : "strip") << " triangle " << i
                                              << " is not in the triangle list, or is there twice";
                expected.erase(it);
            }
        }
        EXPECT_EQ(p, words.size()) << "the closing 0 is the last word of the block";
        EXPECT_TRUE(expected.empty()) << expected.size() << " triangles are in no list";
        EXPECT_LT(corners, 2.5 * triangles) << "strips and fans join neighbouring triangles";
    }
    // Round parts (prism sides, ellipsoid slices) give strips that run on.
    EXPECT_GT(longestStrip, 4u);
}
