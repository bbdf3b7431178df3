// SPDX-License-Identifier: GPL-3.0-or-later
// The tower's turret (turret.md2, turret.tga) and the flag (flag.md2).
#include <cmath>

#include "generators.h"
#include "skin_paint.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kUnit = 20.0f;  // model units per world unit

// The game draws a tower 1.3 units below its box centre, so the turret's box
// runs from z = 0 to 2.6 units (52 model units) to stand exactly on the ground.

Mesh BuildTurret(Image& skin) {
    Mesh m(128, 128, 1.3f);
    const int body = m.AddBone(-1, {});
    const Color hull = Rgb(96, 104, 112), dark = Rgb(58, 62, 70), brass = Rgb(186, 150, 70);
    auto T = [](float x, float y, float z) { return Mat34::Translate({x, y, z}); };
    PaintPrism(skin, m.AddPrism(body, T(0, 0, 2.5f), 8, 10, 9, 5), dark, 200);
    const PrismFaces column = m.AddPrism(body, T(0, 0, 19.5f), 8, 5.5f, 4.5f, 29);
    PaintPrism(skin, column, hull, 202);
    PaintBand(skin, column.side, 0.1f, 0.16f, Rgb(230, 190, 40));
    PaintBand(skin, column.side, 0.84f, 0.9f, Rgb(230, 190, 40));
    PaintPrism(skin, m.AddPrism(body, T(0, 0, 35), 8, 7, 7, 3), brass, 204);
    const Rect head = m.AddEllipsoid(body, T(0, 0, 40.5f), {8, 8, 6.2f}, 12, 6);
    PaintRect(skin, head, hull, 206, 0.1f, 0.0f);
    PaintBand(skin, head, 0.42f, 0.55f, Rgb(90, 230, 120));  // sensor ring
    for (int k = 0; k < 4; ++k) {
        const Mat34 turn = Mat34::Rotate({0, 0, 90.0f * k});
        PaintBox(skin, m.AddBox(body, turn * T(0, 9.5f, 40), {2.4f, 7, 2.4f}), dark, 210 + k);
    }
    PaintBox(skin, m.AddBox(body, T(0, 0, 49), {1, 1, 6}), dark, 220);
    PaintBox(skin, m.AddBox(body, T(0, 0, 51), {2, 2, 2}), Rgb(255, 80, 40), 221);
    return m;
}

// The game turns the flag by -90 degrees about (90, 90, 1) before drawing it;
// the file holds the upright flag turned back by the inverse.
const Mat34 kDrawTurn = Mat34::AxisAngle({90, 90, 1}, -90);
constexpr float kPoleHeight = 32, kPoleRadius = 0.7f;
constexpr float kClothWidth = 12, kClothHeight = 8;
constexpr int kClothColumns = 6, kClothRows = 3;
constexpr int kWaveFrames = 8;

}  // namespace

bool GenerateTurret(const std::string& root) {
    Image skin(128, 128, Rgb(60, 60, 66));
    const Mesh mesh = BuildTurret(skin);
    const std::vector<Vec3> still = mesh.Posed(mesh.RestPose());
    const std::vector<Keyframe> frames = {{FrameName("idle", 1), still}, {FrameName("idle", 2), still}};
    bool ok = WriteFile(root + "/Models/turret.md2", EncodeMd2(mesh, "turret.tga", frames));
    return WriteTga(root + "/Textures/turret.tga", skin, TgaKind::Raw24) && ok;
}

bool GenerateFlag(const std::string& root) {
    Mesh m(128, 128, 1.5f);  // drawn untextured; the coordinates only need to be valid
    const int bone = m.AddBone(-1, {});
    m.AddPrism(bone, Mat34::Translate({0, 0, kPoleHeight / 2}), 6, kPoleRadius, kPoleRadius * 0.8f, kPoleHeight);
    m.AddEllipsoid(bone, Mat34::Translate({0, 0, kPoleHeight + 1}), {1.3f, 1.3f, 1.3f}, 6, 4);
    const size_t clothFirst = m.Vertices().size();
    m.AddSheet(bone, Mat34::Translate({kPoleRadius, 0, kPoleHeight - 1 - kClothHeight / 2}), kClothWidth, kClothHeight,
               kClothColumns, kClothRows);
    const std::vector<Vec3>& rest = m.Vertices();

    // Upright flag with its pole foot at z = foot, cloth waving at time t.
    auto upright = [&](float foot, float t) {
        std::vector<Vec3> v = rest;
        for (size_t i = clothFirst; i < v.size(); ++i) {
            const float u = (v[i].x - kPoleRadius) / kClothWidth;  // 0 at the pole
            const float phase = 2 * kPi * (t - u * 0.8f);
            v[i].y += 3.0f * u * std::sin(phase);
            v[i].z -= 0.8f * u * u;  // the free end droops a little
            v[i].x -= 0.4f * u * (1 - std::cos(phase));
        }
        for (Vec3& p : v) p.z += foot;
        return v;
    };
    auto toModel = [&](std::vector<Vec3> v) {
        const Mat34 back = kDrawTurn.Transposed3();
        for (Vec3& p : v) p = back.Apply(p);
        return v;
    };
    // The game lifts the flag by half its box height plus 0.5 units; choose the
    // foot so that it lands on the ground.
    float foot = -kPoleHeight / 2;
    for (int pass = 0; pass < 20; ++pass) {
        float lo = 0, hi = 0;
        for (const Vec3& p : toModel(upright(foot, 0))) {
            lo = std::fmin(lo, p.z);
            hi = std::fmax(hi, p.z);
        }
        foot = -((hi - lo) / 2 + 0.5f * kUnit);
    }
    std::vector<Keyframe> frames;
    for (int i = 0; i <= kWaveFrames; ++i) {  // one spare frame the game never plays
        const float t = static_cast<float>(i % kWaveFrames) / kWaveFrames;
        frames.push_back({FrameName("wave", i + 1), toModel(upright(foot, t))});
    }
    return WriteFile(root + "/Models/flag.md2", EncodeMd2(m, "", frames));
}

}  // namespace assetgen
