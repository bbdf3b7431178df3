// The four MD2 models: file structure, frame names and animations, sizes in
// world units and triangle winding as the game reads and draws them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "asset_files.h"

using namespace assettest;

namespace {

constexpr float kUnit = 20.0f;  // model units per world unit

Md2 Load(const std::string& name) {
    Md2 m;
    std::string error;
    EXPECT_TRUE(ParseMd2(ReadBytes(ResourceDir() + "/Models/" + name), m, error)) << name << ": " << error;
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

std::vector<std::string> Names(const std::vector<Animation>& list) {
    std::vector<std::string> out;
    for (const auto& a : list) out.push_back(a.name);
    return out;
}

}  // namespace

TEST(Models, HeadersBlocksAndEveryIndexAreInRange) {
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const Md2 m = Load(name);
        ASSERT_FALSE(m.frames.empty());
        const size_t verts = m.frames[0].xyz.size() / 3, sts = m.st.size() / 2;
        for (size_t t = 0; t < m.tris.size(); t += 6) {
            for (int k = 0; k < 3; ++k) {
                ASSERT_LT(m.tris[t + k], verts) << "vertex index of triangle " << t / 6;
                ASSERT_LT(m.tris[t + 3 + k], sts) << "texture-coordinate index of triangle " << t / 6;
            }
        }
        for (size_t i = 0; i < m.st.size(); i += 2)
            EXPECT_TRUE(m.st[i] >= 0 && m.st[i] <= m.skinWidth && m.st[i + 1] >= 0 && m.st[i + 1] <= m.skinHeight) << i;
        const std::regex frameName("[a-z]+[0-9]?[0-9][0-9]");
        for (const auto& f : m.frames) EXPECT_TRUE(std::regex_match(f.name, frameName)) << f.name;
    }
}

TEST(Models, FrameNamesGiveTheAnimationsTheGamePlays) {
    const Md2 male = Load("male.md2");
    const auto playerAnims = AnimationList(male);
    EXPECT_EQ(Names(playerAnims), (std::vector<std::string>{"stand", "run", "attack", "pain1", "pain2", "pain3", "jump",
                                                            "flip", "salute", "taunt", "wave", "point", "death"}));
    ASSERT_GE(playerAnims.size(), 9u);
    // Index 8 is played once on a weapon change: a short gesture that moves.
    const Animation& gesture = playerAnims[8];
    EXPECT_TRUE(gesture.end - gesture.start >= 3 && gesture.end - gesture.start <= 8);
    EXPECT_GT(FrameDistance(male.frames[gesture.start], male.frames[(gesture.start + gesture.end) / 2]), 3.0f);

    const Md2 goblin = Load("hobgoblin.md2");
    const auto enemyAnims = AnimationList(goblin);
    EXPECT_EQ(Names(enemyAnims), (std::vector<std::string>{"stand", "walk", "attack", "pain", "death"}));
    ASSERT_GE(enemyAnims.size(), 2u);
    // Index 1 loops: each step, the last back to the first included, moves the model alike.
    const Animation& walk = enemyAnims[1];
    ASSERT_GE(walk.end - walk.start, 4);
    float largest = 0;
    for (int i = walk.start; i + 1 < walk.end; ++i)
        largest = std::max(largest, FrameDistance(goblin.frames[i], goblin.frames[i + 1]));
    EXPECT_GT(largest, 1.0f);
    EXPECT_LE(FrameDistance(goblin.frames[walk.end - 1], goblin.frames[walk.start]), 1.5f * largest);

    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const auto list = AnimationList(Load(name));
        ASSERT_FALSE(list.empty()) << "the game needs at least one animation to draw";
        for (const auto& a : list) EXPECT_GT(a.end, a.start) << a.name;
    }
    EXPECT_EQ(Names(AnimationList(Load("flag.md2"))), std::vector<std::string>{"wave"});
}

TEST(Models, ActorsHaveTheirSizesAndStandOnTheGround) {
    // Player and enemy are drawn at ground + height / 2, so they are centred on z = 0.
    const Box player = FrameBox(Load("male.md2").frames[0]);
    EXPECT_NEAR(player.hi[2] - player.lo[2], 2.0f, 0.15f);
    EXPECT_NEAR(player.hi[2] + player.lo[2], 0.0f, 0.1f);
    EXPECT_TRUE(player.hi[0] - player.lo[0] > 1.0f && player.hi[0] - player.lo[0] < 1.8f);
    // The first frame's box collides in every direction: a footprint near 1.5 or it sticks to walls.
    EXPECT_LT(std::hypot(player.hi[0] - player.lo[0], player.hi[1] - player.lo[1]) / 2, 1.0f);

    const Box enemy = FrameBox(Load("hobgoblin.md2").frames[0]);
    EXPECT_TRUE(enemy.hi[0] - enemy.lo[0] > 2.0f && enemy.hi[0] - enemy.lo[0] < 3.0f);
    EXPECT_NEAR(enemy.hi[2] + enemy.lo[2], 0.0f, 0.15f);

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

TEST(Models, TrianglesTurnCounterClockwiseOutwardAndFrontsFacePlusY) {
    for (const char* name : {"male.md2", "hobgoblin.md2", "turret.md2", "flag.md2"}) {
        SCOPED_TRACE(name);
        const Md2 m = Load(name);
        for (size_t f = 0; f < m.frames.size(); f += 5) EXPECT_GT(SignedVolume(m, m.frames[f]), 0.0) << m.frames[f].name;
    }
    // The player's rifle and the enemy's face and blaster point ahead.
    for (const char* name : {"male.md2", "hobgoblin.md2"}) {
        const Box b = FrameBox(Load(name).frames[0]);
        EXPECT_GT(b.hi[1], -b.lo[1] * 1.2f) << name;
    }
}
