// SPDX-License-Identifier: GPL-3.0-or-later
// The four MD2 models as the game reads and draws them (animations, sizes in world
// units, winding) and as other programs read them: the GL-command strips and fans
// cover the triangle list, and the asset-import library's tool opens every file.
#include <sys/wait.h>
#include <regex>

#include "asset_files.h"

using namespace assettest;

namespace {

constexpr float kUnit = 20.0f;  // model units per world unit
const char* const kModels[] = {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"};

Md2 Load(const std::string& name, Bytes* file = nullptr) {
    Md2 m;
    std::string error;
    const Bytes bytes = ReadBytes(ResourceDir() + "/Models/" + name);
    EXPECT_TRUE(ParseMd2(bytes, m, error)) << name << ": " << error;
    if (file) *file = bytes;
    return m;
}

// The bounding box of a frame in world units, grown to hold the origin, as the game computes it.
struct Box { float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0}; };
Box FrameBox(const Md2Frame& f) {
    Box b;
    for (size_t i = 0; i < f.xyz.size(); ++i) {
        b.lo[i % 3] = std::min(b.lo[i % 3], f.xyz[i] / kUnit);
        b.hi[i % 3] = std::max(b.hi[i % 3], f.xyz[i] / kUnit);
    }
    return b;
}

float FrameDistance(const Md2Frame& a, const Md2Frame& b) {
    float d = 0;
    for (size_t i = 0; i < a.xyz.size(); ++i) d = std::max(d, std::fabs(a.xyz[i] - b.xyz[i]));
    return d;
}

// Volume enclosed by the triangles: positive when they turn counter-clockwise seen from outside.
double SignedVolume(const Md2& m, const Md2Frame& f) {
    double v = 0;
    for (size_t t = 0; t < m.tris.size(); t += 6) {
        const float* a = &f.xyz[3 * m.tris[t]];
        const float* b = &f.xyz[3 * m.tris[t + 1]];
        const float* c = &f.xyz[3 * m.tris[t + 2]];
        v += a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    }
    return v / 6;
}

// Runs of frames whose names agree but for their two-digit frame number, as the game
// groups them into animations: frames [start, end).
struct Animation { std::string name; int start, end; };
std::vector<Animation> Animations(const Md2& m) {
    std::vector<Animation> out;
    for (int i = 0; i < static_cast<int>(m.frames.size()); ++i) {
        const std::string& n = m.frames[i].name;
        const std::string base = n.substr(0, n.size() - std::min<size_t>(2, n.size()));
        if (out.empty() || out.back().name != base) out.push_back({base, i, i});
        out.back().end = i + 1;
    }
    return out;
}

std::vector<std::string> Names(const Md2& m) {
    std::vector<std::string> out;
    for (const auto& a : Animations(m)) out.push_back(a.name);
    return out;
}

using Corner = std::tuple<int32_t, float, float>;  // vertex, s, t
using Tri = std::array<Corner, 3>;
// Turned to start at its smallest corner: equal only with the same winding.
Tri Canonical(Tri t) { return std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end()), t; }

}  // namespace

TEST(Models, FrameNamesGiveTheAnimationsTheGamePlays) {
    const Md2 male = Load("male.md2");
    EXPECT_EQ(Names(male), (std::vector<std::string>{"stand", "run", "attack", "pain1", "pain2", "pain3", "jump",
                                                     "flip", "salute", "taunt", "wave", "point", "death"}));
    // Index 8 is played once on a weapon change: a short gesture that moves.
    const Animation gesture = Animations(male).at(8);
    EXPECT_EQ(std::clamp(gesture.end - gesture.start, 3, 8), gesture.end - gesture.start) << "frames of the gesture";
    EXPECT_GT(FrameDistance(male.frames[gesture.start], male.frames[(gesture.start + gesture.end) / 2]), 3.0f);

    const Md2 goblin = Load("hobgoblin.md2");
    EXPECT_EQ(Names(goblin), (std::vector<std::string>{"stand", "walk", "attack", "pain", "death"}));
    // Index 1 loops: each step, the last back to the first included, moves the model alike.
    const Animation walk = Animations(goblin).at(1);
    ASSERT_GE(walk.end - walk.start, 4);
    float largest = 0;
    for (int i = walk.start; i + 1 < walk.end; ++i)
        largest = std::max(largest, FrameDistance(goblin.frames[i], goblin.frames[i + 1]));
    EXPECT_GT(largest, 1.0f);
    EXPECT_LE(FrameDistance(goblin.frames[walk.end - 1], goblin.frames[walk.start]), 1.5f * largest);
    EXPECT_EQ(Names(Load("flag.md2")), std::vector<std::string>{"wave"});
}

TEST(Models, ActorsHaveTheirSizesStandOnTheGroundAndFacePlusY) {
    // Player and enemy are drawn at ground + height / 2, so they are centred on z = 0.
    const Box player = FrameBox(Load("male.md2").frames[0]);
    EXPECT_NEAR(player.hi[2] - player.lo[2], 2.0f, 0.15f);
    EXPECT_NEAR(player.hi[2] + player.lo[2], 0.0f, 0.1f);
    EXPECT_TRUE(player.hi[0] - player.lo[0] > 1.0f && player.hi[0] - player.lo[0] < 1.8f) << player.hi[0] - player.lo[0];
    // The first frame's box collides in every direction: a footprint near 1.5 or it sticks to walls.
    EXPECT_LT(std::hypot(player.hi[0] - player.lo[0], player.hi[1] - player.lo[1]) / 2, 1.0f);

    const Box enemy = FrameBox(Load("hobgoblin.md2").frames[0]);
    EXPECT_TRUE(enemy.hi[0] - enemy.lo[0] > 2.0f && enemy.hi[0] - enemy.lo[0] < 3.0f) << enemy.hi[0] - enemy.lo[0];
    EXPECT_NEAR(enemy.hi[2] + enemy.lo[2], 0.0f, 0.15f);
    // The player's rifle and the enemy's face and blaster point ahead.
    for (const Box& b : {player, enemy}) EXPECT_GT(b.hi[1], -b.lo[1] * 1.2f);

    // A tower is drawn 1.3 below its box centre: the turret spans 0 to 2.6.
    const Box turret = FrameBox(Load("turret.md2").frames[0]);
    EXPECT_NEAR(turret.lo[2], 0.0f, 0.02f);
    EXPECT_NEAR(turret.hi[2], 2.6f, 0.03f);
    EXPECT_LT(turret.hi[0] - turret.lo[0], 1.4f);
}

TEST(Models, FlagStandsUprightAfterTheTurnItIsDrawnWith) {
    const Md2 flag = Load("flag.md2");
    const Box box = FrameBox(flag.frames[0]);
    const float lift = (box.hi[2] - box.lo[2]) / 2 + 0.5f;
    // The drawing turns it by -90 degrees about (90, 90, 1).
    const double len = std::sqrt(90.0 * 90 + 90 * 90 + 1);
    const double a[3] = {90 / len, 90 / len, 1 / len}, c = std::cos(-M_PI / 2), s = std::sin(-M_PI / 2), t = 1 - c;
    const double r[3][3] = {{t * a[0] * a[0] + c, t * a[0] * a[1] - s * a[2], t * a[0] * a[2] + s * a[1]},
                            {t * a[0] * a[1] + s * a[2], t * a[1] * a[1] + c, t * a[1] * a[2] - s * a[0]},
                            {t * a[0] * a[2] - s * a[1], t * a[1] * a[2] + s * a[0], t * a[2] * a[2] + c}};
    float lowest = 1e9f, highest = -1e9f, spread = 0;
    const auto& v = flag.frames[0].xyz;
    for (size_t i = 0; i < v.size(); i += 3) {
        double w[3];
        for (int k = 0; k < 3; ++k) w[k] = (r[k][0] * v[i] + r[k][1] * v[i + 1] + r[k][2] * v[i + 2]) / kUnit;
        lowest = std::min(lowest, static_cast<float>(w[2] + lift));
        highest = std::max(highest, static_cast<float>(w[2] + lift));
        spread = std::max(spread, static_cast<float>(std::hypot(w[0], w[1])));
    }
    EXPECT_NEAR(lowest, 0.0f, 0.05f) << "the pole's foot is on the ground";
    EXPECT_GT(highest, 1.4f) << "the pole stands up";
    EXPECT_TRUE(spread < 1.0f && spread > 0.4f) << "the cloth is about half a unit wide: " << spread;
}

TEST(Models, TrianglesWindOutwardMapOntoTheSkinAndGlCommandsCoverEachOnceWithItsCornersAndWinding) {
    size_t longestStrip = 0;
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        Bytes file;
        const Md2 m = Load(name, &file);
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
                ASSERT_LT(m.tris[i + k], m.frames[0].xyz.size() / 3) << "vertex index of triangle " << i / 6;
                t[k] = {m.tris[i + k], float(m.st.at(2 * st)) / float(m.skinWidth), float(m.st.at(2 * st + 1)) / float(m.skinHeight)};
                EXPECT_EQ(std::make_tuple(std::clamp(std::get<1>(t[k]), 0.0f, 1.0f), std::clamp(std::get<2>(t[k]), 0.0f, 1.0f)),
                          std::make_tuple(std::get<1>(t[k]), std::get<2>(t[k]))) << "s and t on the skin";
            }
            left.insert(Canonical(t));
        }
        for (size_t f = 0; f < m.frames.size(); f += 5) EXPECT_GT(SignedVolume(m, m.frames[f]), 0.0) << m.frames[f].name;
        size_t p = 0;
        for (int32_t n; p < w.size() && (n = w[p++]) != 0;) {
            const size_t len = std::abs(n);
            ASSERT_TRUE(len >= 3 && p + 3 * len <= w.size()) << "list of " << n << " at word " << p << " of " << w.size();
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
        EXPECT_EQ(std::make_tuple(p, w.back()), std::make_tuple(w.size(), 0)) << "the block ends with its closing 0";
        EXPECT_TRUE(left.empty()) << left.size() << " triangles are in no list";
    }
    EXPECT_GT(longestStrip, 4u) << "prism sides and ellipsoid slices make long strips";
}

TEST(Models, AssimpOpensEveryModelWithItsTrianglesAndFirstFrame) {
    for (const char* name : kModels) {
        SCOPED_TRACE(name);
        const std::string path = ResourceDir() + "/Models/" + name;
        const Md2 m = Load(name);
        std::string report;
        FILE* pipe = popen((std::string(VELQ_ASSIMP) + " info '" + path + "' --raw 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        for (int ch; (ch = std::fgetc(pipe)) != EOF;) report += static_cast<char>(ch);
        const int status = pclose(pipe);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && report.find("ERROR") == std::string::npos)
            << "status " << status << ": " << report;
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
        for (int k = 0; k < 3; ++k) EXPECT_LT(std::max(std::abs(box[k] - lo[k]), std::abs(box[3 + k] - hi[k])), 1e-3f) << k;
    }
}
