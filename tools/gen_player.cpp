// SPDX-License-Identifier: GPL-3.0-or-later
// The player: a soldier in flak armour with a laser rifle (male.md2, flak.tga).
#include <cmath>

#include "generators.h"
#include "skin_paint.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

enum Bone { Pelvis, Torso, Head, UpperArmR, ForearmR, UpperArmL, ForearmL, ThighR, ShinR, ThighL, ShinL, kBones };

// Model units: 20 per world unit. The figure stands 40 tall, centred on the
// origin (feet at -20), and faces +y. Its right side is +x.
Mesh BuildMesh(Image& skin) {
    Mesh m(256, 256, 2.2f);
    const struct { Bone parent; Vec3 pivot; } kRig[kBones] = {
        {Pelvis, {0, 0, -3}},       // Pelvis (root)
        {Pelvis, {0, 0, -1}},       // Torso
        {Torso, {0, 0, 11}},        // Head
        {Torso, {9.5f, 0, 9.5f}},   // UpperArmR
        {UpperArmR, {9.5f, 0, 2}},  // ForearmR
        {Torso, {-9.5f, 0, 9.5f}},  // UpperArmL
        {UpperArmL, {-9.5f, 0, 2}}, // ForearmL
        {Pelvis, {3.5f, 0, -4}},    // ThighR
        {ThighR, {3.5f, 0, -12}},   // ShinR
        {Pelvis, {-3.5f, 0, -4}},   // ThighL
        {ThighL, {-3.5f, 0, -12}},  // ShinL
    };
    for (int b = 0; b < kBones; ++b) m.AddBone(b == Pelvis ? -1 : kRig[b].parent, kRig[b].pivot);

    const Color armour = Rgb(92, 110, 66), plate = Rgb(70, 78, 86), belt = Rgb(96, 70, 44);
    const Color boot = Rgb(46, 42, 38), metal = Rgb(74, 78, 86), visor = Rgb(255, 170, 50);
    auto T = [](float x, float y, float z) { return Mat34::Translate({x, y, z}); };

    const BoxFaces hips = m.AddBox(Pelvis, T(0, 0, -3.5f), {11, 6.5f, 5});
    PaintBox(skin, hips, belt, 10);
    PaintBand(skin, hips.front, 0.0f, 0.35f, Scale(belt, 0.7f));
    PaintInset(skin, hips.front, 0.42f, 0.0f, 0.58f, 0.38f, Rgb(214, 178, 60));  // buckle
    PaintBand(skin, hips.back, 0.0f, 0.35f, Scale(belt, 0.7f));
    const BoxFaces chest = m.AddBox(Torso, T(0, 0, 5), {14, 7.5f, 12}, 1.08f);
    PaintBox(skin, chest, armour, 20);
    PaintBand(skin, chest.front, 0.15f, 0.55f, Scale(plate, 1.1f));
    skin.FillEllipse(chest.front.x + chest.front.w * 0.5f, chest.front.y + chest.front.h * 0.33f, 3.2f, 3.2f, Rgb(230, 190, 40));
    PaintInset(skin, chest.front, 0.12f, 0.62f, 0.42f, 0.9f, Scale(armour, 0.78f));  // pouches
    PaintInset(skin, chest.front, 0.58f, 0.62f, 0.88f, 0.9f, Scale(armour, 0.78f));
    PaintBand(skin, chest.back, 0.0f, 1.0f, Scale(armour, 0.9f));
    const BoxFaces pack = m.AddBox(Torso, T(0, -5.2f, 6), {9, 3, 8});
    PaintBox(skin, pack, plate, 30);
    PaintBand(skin, pack.back, 0.4f, 0.5f, Rgb(60, 200, 230));
    PaintRivets(skin, pack.back, Scale(plate, 1.5f));
    for (float y : {0.65f, 0.75f, 0.85f}) PaintBand(skin, pack.back, y, y + 0.04f, Scale(plate, 0.6f));  // vents
    const BoxFaces plateFront = m.AddBox(Torso, T(0, 3.9f, 5.5f), {10, 1.2f, 6});
    PaintBox(skin, plateFront, plate, 35);
    PaintRivets(skin, plateFront.front, Scale(plate, 1.5f));

    const BoxFaces head = m.AddBox(Head, T(0, 0.3f, 14.5f), {7, 7, 7});
    PaintBox(skin, head, Rgb(206, 160, 124), 40);
    PaintBand(skin, head.front, 0.55f, 0.62f, Rgb(120, 80, 60));
    PaintRect(skin, head.back, Scale(armour, 0.85f), 41);  // neck guard
    PaintBand(skin, head.left, 0.0f, 0.7f, Scale(armour, 0.85f));
    PaintBand(skin, head.right, 0.0f, 0.7f, Scale(armour, 0.85f));
    PaintBox(skin, m.AddBox(Head, T(0, -0.2f, 18.4f), {8.6f, 8.6f, 3.4f}, 0.8f), armour, 45);
    const BoxFaces glass = m.AddBox(Head, T(0, 3.9f, 15.4f), {6.2f, 1, 2.2f});
    PaintBox(skin, glass, visor, 50);
    PaintBand(skin, glass.front, 0.1f, 0.35f, Rgb(255, 236, 170));

    for (int side = 0; side < 2; ++side) {
        const float s = side == 0 ? 1.0f : -1.0f;
        const Bone upper = side == 0 ? UpperArmR : UpperArmL, fore = side == 0 ? ForearmR : ForearmL;
        const Bone thigh = side == 0 ? ThighR : ThighL, shin = side == 0 ? ShinR : ShinL;
        const BoxFaces pad = m.AddBox(upper, T(9.5f * s, 0, 9.6f), {6, 6.5f, 3.6f}, 0.8f);
        PaintBox(skin, pad, plate, 60 + side);
        PaintRivets(skin, pad.top, Scale(plate, 1.5f));
        PaintBand(skin, pad.right, 0.7f, 1.0f, Rgb(214, 178, 60));  // rank stripe
        PaintBand(skin, pad.left, 0.7f, 1.0f, Rgb(214, 178, 60));
        PaintBox(skin, m.AddBox(upper, T(9.5f * s, 0, 5.5f), {4, 4, 8}), armour, 62 + side);
        PaintBox(skin, m.AddBox(fore, T(9.5f * s, 0, -1.5f), {3.8f, 3.8f, 7}), Scale(armour, 0.9f), 64 + side);
        PaintBox(skin, m.AddBox(fore, T(9.5f * s, 0.3f, -6.2f), {3.4f, 3.4f, 2.6f}), boot, 66 + side);
        const BoxFaces leg = m.AddBox(thigh, T(3.5f * s, 0, -8), {5, 5.5f, 8});
        PaintBox(skin, leg, armour, 70 + side);
        PaintBand(skin, leg.front, 0.55f, 0.9f, plate);
        const BoxFaces calf = m.AddBox(shin, T(3.5f * s, 0, -15), {4.5f, 4.8f, 6});
        PaintBox(skin, calf, Scale(armour, 0.92f), 72 + side);
        PaintBand(skin, calf.front, 0.0f, 0.5f, plate);
        const BoxFaces sole = m.AddBox(shin, T(3.5f * s, 0.8f, -19), {5, 7, 2});
        PaintBox(skin, sole, boot, 74 + side);
        for (const Rect* r : {&sole.front, &sole.left, &sole.right, &sole.back}) PaintBand(skin, *r, 0.6f, 1.0f, Rgb(24, 22, 20));
    }
    // The rifle lies along the right forearm and points ahead once the arm is raised.
    const BoxFaces rifle = m.AddBox(ForearmR, T(9.5f, 2.9f, -6.5f), {2.6f, 3.2f, 11});
    PaintBox(skin, rifle, metal, 80);
    PaintBand(skin, rifle.left, 0.2f, 0.8f, Rgb(60, 210, 240));
    PaintBand(skin, rifle.right, 0.2f, 0.8f, Rgb(60, 210, 240));
    PaintPrism(skin, m.AddPrism(ForearmR, T(9.5f, 3.2f, -14) * Mat34::Rotate({180, 0, 0}), 6, 0.9f, 0.9f, 4),
               Scale(metal, 0.8f), 82);
    return m;
}

float Wave(float t, float cycles = 1) { return std::sin(2 * kPi * t * cycles); }
float Hump(float t) { return std::sin(kPi * t); }  // 0 -> 1 -> 0 over t = 0..1

// The rifle held ready: right forearm level, left hand under the barrel.
Pose Ready(const Mesh& m, float breathe) {
    Pose p = m.RestPose();
    p.angles[UpperArmR] = {18 + breathe, 0, 0};
    p.angles[ForearmR] = {72, 0, 0};
    p.angles[UpperArmL] = {55 + breathe, 0, -32};
    p.angles[ForearmL] = {45, 0, 0};
    p.angles[Torso] = {breathe * 0.5f, 0, 0};
    return p;
}

// At rest the rifle points down and ahead, which keeps the first frame's box
// (the game's collision box for every direction) close around the body.
Pose Stand(const Mesh& m, float t) {
    Pose p = Ready(m, 2.0f * Wave(t));
    p.angles[UpperArmR].x -= 10;
    p.angles[ForearmR].x -= 30;
    p.angles[UpperArmL].x -= 15;
    p.angles[ForearmL].x -= 10;
    p.angles[Head] = {0, 0, 6 * Wave(t)};
    return p;
}

Pose Run(const Mesh& m, float t) {
    Pose p = Ready(m, 4 * Wave(t, 2));
    const float s = Wave(t), c = std::cos(2 * kPi * t);
    p.angles[ThighR] = {38 * s, 0, 0};
    p.angles[ThighL] = {-38 * s, 0, 0};
    p.angles[ShinR] = {-30 - 28 * c, 0, 0};
    p.angles[ShinL] = {-30 + 28 * c, 0, 0};
    p.angles[Torso].x += 10;
    p.angles[Pelvis] = {0, 0, 6 * s};
    p.offset = {0, 0, 1.2f * std::fabs(s) - 0.6f};
    return p;
}

Pose Attack(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float kick = std::exp(-7 * t) * (t < 0.5f ? 1.0f : 0.0f) + std::exp(-7 * (t - 0.5f)) * (t >= 0.5f ? 1.0f : 0.0f);
    p.angles[UpperArmR].x -= 14 * kick;
    p.angles[UpperArmL].x -= 10 * kick;
    p.angles[Torso].x -= 5 * kick;
    p.angles[Head].x -= 4 * kick;
    return p;
}

Pose Pain1(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    p.angles[Torso].x -= 18 * Hump(t);
    p.angles[Head].x -= 14 * Hump(t);
    return p;
}

Pose Pain2(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    p.angles[Torso].y += 16 * Hump(t);
    p.angles[Head].y += 10 * Hump(t);
    return p;
}

Pose Pain3(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float h = Hump(t);
    p.angles[Torso].x += 22 * h;
    p.angles[ThighR].x = p.angles[ThighL].x = 25 * h;
    p.angles[ShinR].x = p.angles[ShinL].x = -45 * h;
    p.offset.z = -2.5f * h;
    return p;
}

void Tuck(Pose& p, float amount) {
    p.angles[ThighR].x = p.angles[ThighL].x = 70 * amount;
    p.angles[ShinR].x = p.angles[ShinL].x = -110 * amount;
}

Pose Jump(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float crouch = t < 0.2f ? t / 0.2f : (t > 0.85f ? (1 - t) / 0.15f : 0.0f);
    const float air = t < 0.2f ? 0.0f : Hump((t - 0.2f) / 0.8f);
    Tuck(p, 0.35f * crouch + 0.5f * air);
    p.offset.z = -3 * crouch + 12 * air;
    return p;
}

Pose Flip(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    Tuck(p, Hump(t));
    p.angles[Pelvis] = {-360 * t, 0, 0};
    p.offset.z = 14 * Hump(t);
    return p;
}

// A short gesture: the left hand comes up to the helmet and back.
Pose Salute(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float h = Hump(t);
    p.angles[UpperArmL] = {Mix(55, 95, h), Mix(0, 40, h), Mix(-32, -20, h)};
    p.angles[ForearmL] = {Mix(45, 120, h), 0, 0};
    p.angles[Head].x = -6 * h;
    return p;
}

Pose Taunt(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    p.angles[UpperArmL] = {20, 60 + 20 * Wave(t, 2), 0};
    p.angles[ForearmL] = {90, 0, 0};
    p.angles[Torso].z = 12 * Wave(t);
    p.angles[Head].z = 15 * Wave(t);
    return p;
}

Pose WaveHand(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    p.angles[UpperArmL] = {0, 150, 0};
    p.angles[ForearmL] = {0, 25 * Wave(t, 2), 0};
    return p;
}

Pose Point(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float h = std::fmin(1.0f, 2 * Hump(t));
    p.angles[UpperArmL] = {Mix(55, 90, h), 0, Mix(-32, -8, h)};
    p.angles[ForearmL] = {Mix(45, 0, h), 0, 0};
    return p;
}

Pose Death(const Mesh& m, float t) {
    Pose p = Ready(m, 0);
    const float e = 1 - (1 - t) * (1 - t);
    p.angles[Pelvis] = {88 * e, 0, 0};
    p.angles[ThighR].x = 20 * Hump(t);
    p.angles[UpperArmL] = {Mix(55, 120, e), 0, -32};
    p.offset = {0, 0, -13 * e};
    return p;
}

// Index 8 (salute) is the gesture the game plays on a weapon change.
const AnimationSpec kAnimations[] = {
    {"stand", 8, true, Stand},  {"run", 6, true, Run},        {"attack", 8, true, Attack},
    {"pain1", 4, false, Pain1}, {"pain2", 4, false, Pain2},  {"pain3", 4, false, Pain3},
    {"jump", 6, false, Jump},   {"flip", 8, false, Flip},    {"salute", 6, false, Salute},
    {"taunt", 8, true, Taunt},  {"wave", 8, true, WaveHand}, {"point", 6, false, Point},
    {"death", 8, false, Death},
};
static_assert(sizeof(kAnimations) / sizeof(kAnimations[0]) == 13, "thirteen player animations");

}  // namespace

bool GeneratePlayer(const std::string& root) {
    Image skin(256, 256, Rgb(40, 40, 40));
    const Mesh mesh = BuildMesh(skin);
    const auto frames = BuildKeyframes(mesh, kAnimations, 13);
    bool ok = WriteFile(root + "/Models/male.md2", EncodeMd2(mesh, "flak.tga", frames));
    return WriteTga(root + "/Textures/flak.tga", skin, TgaKind::Rle24) && ok;
}

}  // namespace assetgen
