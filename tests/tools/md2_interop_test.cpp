// The models as other programs read them: the GL-command strips and fans cover
// the triangle list, and the asset-import library's tool opens every file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <regex>
#include <set>
#include <tuple>

#include "asset_files.h"

using namespace assettest;

namespace {
using Corner = std::tuple<int32_t, float, float>;  // vertex, s, t
using Tri = std::array<Corner, 3>;
// Turned to start at its smallest corner: equal only with the same winding.
Tri Canonical(Tri t) { return std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end()), t; }
}  // namespace

TEST(Md2Interop, GlCommandsCoverEveryTriangleOnceWithItsCornersAndWinding) {
    size_t longestStrip = 0;
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const Bytes file = ReadBytes(ResourceDir() + "/Models/" + name);
        Md2 m;
        std::string error;
        ASSERT_TRUE(ParseMd2(file, m, error)) << error;
        const int32_t* h = m.header;
        ASSERT_EQ(h[14] + int64_t(h[4]) * h[10], h[15]) << "the GL commands follow the frames";
        ASSERT_EQ(h[15] + 4LL * h[9], h[16]) << "and end the file";
        ASSERT_GT(h[9], 0) << "the block holds at least its closing 0";
        std::vector<int32_t> w(h[9]);
        std::memcpy(w.data(), &file[h[15]], 4 * w.size());

        std::multiset<Tri> left;
        for (size_t i = 0; i < m.tris.size(); i += 6) {
            Tri t;
            for (int k = 0; k < 3; ++k) {
                const int st = m.tris[i + 3 + k];
                t[k] = {m.tris[i + k], float(m.st[2 * st]) / float(m.skinWidth), float(m.st[2 * st + 1]) / float(m.skinHeight)};
            }
            left.insert(Canonical(t));
        }
        size_t p = 0;
        for (int32_t n; p < w.size() && (n = w[p++]) != 0;) {
            const size_t len = std::abs(n);
            ASSERT_TRUE(len >= 3 && p + 3 * len <= w.size()) << "list of " << n << " at word " << p;
            std::vector<Corner> c(len);
            for (size_t i = 0; i < len; ++i, p += 3) {
                std::get<0>(c[i]) = w[p + 2];
                std::memcpy(&std::get<1>(c[i]), &w[p], 4);
                std::memcpy(&std::get<2>(c[i]), &w[p + 1], 4);
            }
            if (n > 0) longestStrip = std::max(longestStrip, len - 2);
            for (size_t i = 0; i + 2 < len; ++i) {
                const Tri t = n < 0 ? Tri{c[0], c[i + 1], c[i + 2]} : i % 2 ? Tri{c[i + 1], c[i], c[i + 2]} : Tri{c[i], c[i + 1], c[i + 2]};
                const auto it = left.find(Canonical(t));
                ASSERT_NE(it, left.end()) << "triangle " << i << " of a list is not in the triangle list, or twice";
                left.erase(it);
            }
        }
        EXPECT_TRUE(p == w.size() && w.back() == 0) << "the block ends with its closing 0";
        EXPECT_TRUE(left.empty()) << left.size() << " triangles are in no list";
    }
    EXPECT_GT(longestStrip, 4u) << "prism sides and ellipsoid slices make long strips";
}

TEST(Md2Interop, AssimpOpensEveryModelWithItsTrianglesAndFirstFrame) {
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const std::string path = ResourceDir() + "/Models/" + name;
        Md2 m;
        std::string report;
        ASSERT_TRUE(ParseMd2(ReadBytes(path), m, report)) << report;
        FILE* pipe = popen((std::string(VELQ_ASSIMP) + " info '" + path + "' --raw 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        for (int ch; (ch = std::fgetc(pipe)) != EOF;) report += static_cast<char>(ch);
        const int status = pclose(pipe);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && report.find("ERROR") == std::string::npos) << report;
        const auto field = [&](const std::string& label) {
            std::smatch s;
            return std::regex_search(report, s, std::regex("\n" + label + " *\\(?([^)\n]*)")) ? s[1].str() : "";
        };
        // A raw import gives each triangle three corners of its own. It takes the
        // first keyframe only, so there is no animation to count.
        EXPECT_EQ(field("Meshes:") + " " + field("Animations:"), "1 0");
        EXPECT_EQ(field("Faces:") + " " + field("Vertices:"), std::to_string(m.header[8]) + " " + std::to_string(3 * m.header[8]));
        // Its box is the first frame's, read as (x, z, y) with y as the game reads it.
        float box[6], lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
        ASSERT_EQ(std::sscanf((field("Minimum point") + " " + field("Maximum point")).c_str(), "%f %f %f %f %f %f", &box[0],
                              &box[1], &box[2], &box[3], &box[4], &box[5]), 6);
        for (size_t i = 0; i < m.frames[0].xyz.size(); ++i) {
            lo[(3 - i % 3) % 3] = std::min(lo[(3 - i % 3) % 3], m.frames[0].xyz[i]);
            hi[(3 - i % 3) % 3] = std::max(hi[(3 - i % 3) % 3], m.frames[0].xyz[i]);
        }
        for (int k = 0; k < 3; ++k) EXPECT_TRUE(std::abs(box[k] - lo[k]) < 1e-3f && std::abs(box[3 + k] - hi[k]) < 1e-3f) << k;
    }
}
