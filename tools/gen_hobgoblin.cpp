// SPDX-License-Identifier: GPL-3.0-or-later
// The enemy: a hunched, long-armed hobgoblin with a blaster (hobgoblin.md2 and its skin).
#include <cmath>

#include "generators.h"
#include "skin_paint.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

enum Bone { Pelvis, Torso, Head, UpperArmR, ForearmR, UpperArmL, ForearmL, ThighR, ShinR, ThighL, ShinL, kBones };

// Model units (20 per world unit): about 44 tall, centred on the origin,
// facing +y, right side +x.
Mesh BuildMesh(Image& skin) {
    Mesh m(256, 256, 1.7f);
    const struct { Bone parent; Vec3 pivot; } kRig[kBones] = {
        {Pelvis, {0, 0, -7}},          // Pelvis (root)
        {Pelvis, {0, 0, -4}},          // Torso
        {Torso, {0, 5, 11}},           // Head
        {Torso, {12, 0, 9}},           // UpperArmR
        {UpperArmR, {13, 0, -3}},      // ForearmR
        {Torso, {-12, 0, 9}},          // UpperArmL
        {UpperArmL, {-13, 0, -3}},     // ForearmL
        {Pelvis, {6, 0, -8}},          // ThighR
        {ThighR, {6, 0, -16}},         // ShinR
        {Pelvis, {-6, 0, -8}},         // ThighL
        {ThighL, {-6, 0, -16}},        // ShinL
    };
    for (int b = 0; b < kBones; ++b) m.AddBone(b == Pelvis ? -1 : kRig[b].parent, kRig[b].pivot);

    const Color hide = Rgb(100, 128, 56), belly = Rgb(150, 150, 84), leather = Rgb(112, 72, 40);
    const Color rust = Rgb(128, 86, 62), bone = Rgb(226, 216, 180), steel = Rgb(84, 84, 92);
    auto T = [](float x, float y, float z) { return Mat34::Translate({x, y, z}); };

    const BoxFaces hips = m.AddBox(Pelvis, T(0, 0, -7), {16, 10, 6});
    PaintBox(skin, hips, leather, 100);
    PaintRivets(skin, hips.front, Rgb(190, 180, 150));
    const BoxFaces cloth = m.AddBox(Pelvis, T(0, 5.3f, -11.5f), {9, 0.8f, 8}, 1.2f);
    PaintBox(skin, cloth, Scale(leather, 0.8f), 102);
    for (float y : {0.2f, 0.5f, 0.8f}) PaintBand(skin, cloth.front, y, y + 0.08f, Rgb(150, 40, 30));  // clan stripes
    const BoxFaces chest = m.AddBox(Torso, T(0, 1, 4), {20, 13, 16}, 1.15f);
    PaintBox(skin, chest, hide, 110);
    PaintBand(skin, chest.top, 0.0f, 1.0f, Scale(hide, 1.05f));
    skin.FillEllipse(chest.front.x + chest.front.w / 2.0f, chest.front.y + chest.front.h * 0.6f, chest.front.w * 0.32f,
                     chest.front.h * 0.42f, belly);
    PaintBand(skin, chest.front, 0.05f, 0.13f, leather);  // strap
    PaintBand(skin, chest.back, 0.05f, 0.13f, leather);
    Random warts(7);
    for (const Rect* r : {&chest.back, &chest.left, &chest.right, &chest.top})
        for (int k = 0; k < r->w * r->h / 60; ++k)
            skin.FillEllipse(r->x + warts.Range(1, r->w - 1), r->y + warts.Range(1, r->h - 1), warts.Range(0.6f, 1.4f),
                             warts.Range(0.6f, 1.4f), Color{0.25f, 0.32f, 0.1f, 0.45f});

    const Rect face = m.AddEllipsoid(Head, T(0, 7.5f, 14.5f), {6.2f, 6.8f, 6.2f}, 10, 7);
    PaintRect(skin, face, hide, 120, 0.15f, 0.0f);
    const float fx = face.x + face.w * 0.25f;  // the +y side of the map
    for (float s : {-1.0f, 1.0f}) {
        skin.FillEllipse(fx + s * face.w * 0.055f, face.y + face.h * 0.4f, face.w * 0.04f, face.h * 0.07f, Rgb(40, 20, 10));
        skin.FillEllipse(fx + s * face.w * 0.055f, face.y + face.h * 0.4f, face.w * 0.022f, face.h * 0.045f, Rgb(255, 70, 30));
    }
    skin.Line(fx - face.w * 0.08f, face.y + face.h * 0.3f, fx + face.w * 0.08f, face.y + face.h * 0.3f, 1.5f,
              Scale(hide, 0.55f));  // brow
    const BoxFaces jaw = m.AddBox(Head, T(0, 10.5f, 10.2f), {8.5f, 5, 3});
    PaintBox(skin, jaw, Scale(hide, 0.9f), 122);
    PaintBand(skin, jaw.front, 0.0f, 0.35f, Rgb(60, 24, 20));
    for (float s : {-1.0f, 1.0f}) {
        PaintBox(skin, m.AddBox(Head, T(2.8f * s, 12.6f, 12.3f), {1.3f, 1.3f, 3.2f}, 0.4f), bone, 124);
        PaintBox(skin, m.AddBox(Head, T(7.5f * s, 6, 17) * Mat34::Rotate({0, -25 * s, 0}), {6, 1.4f, 2.6f}, 0.6f),
                 Scale(hide, 0.85f), 126);
    }

    for (int side = 0; side < 2; ++side) {
        const float s = side == 0 ? 1.0f : -1.0f;
        const Bone upper = side == 0 ? UpperArmR : UpperArmL, fore = side == 0 ? ForearmR : ForearmL;
        const Bone thigh = side == 0 ? ThighR : ThighL, shin = side == 0 ? ShinR : ShinL;
        PaintBox(skin, m.AddBox(upper, T(14 * s, 0, 10.5f), {9, 9, 4.5f}, 0.7f), rust, 130 + side);
        PaintBox(skin, m.AddBox(upper, T(14 * s, 0, 14) * Mat34::Rotate({0, 20 * s, 0}), {1.6f, 1.6f, 4}, 0.2f), bone,
                 132 + side);
        PaintBox(skin, m.AddBox(upper, T(13 * s, 0, 3), {6, 6, 12}), hide, 134 + side);
        PaintBox(skin, m.AddBox(fore, T(13 * s, 0.5f, -9), {7, 7, 12}, 0.85f), hide, 136 + side);
        const BoxFaces fist = m.AddBox(fore, T(13 * s, 1, -17), {7.5f, 7.5f, 5});
        PaintBox(skin, fist, Scale(hide, 0.85f), 138 + side);
        PaintBand(skin, fist.top, 0.0f, 1.0f, leather);
        for (float x : {0.25f, 0.5f, 0.75f}) PaintInset(skin, fist.front, x - 0.1f, 0.1f, x + 0.1f, 0.45f, Scale(hide, 0.75f));
        PaintBox(skin, m.AddBox(thigh, T(6 * s, 0, -12), {7, 7, 8}), Scale(hide, 0.92f), 140 + side);
        PaintBox(skin, m.AddBox(shin, T(6 * s, 0.5f, -18.5f), {6.5f, 6.5f, 5}), hide, 142 + side);
        const BoxFaces foot = m.AddBox(shin, T(6 * s, 2.5f, -21.2f), {7.5f, 11, 1.8f});
        PaintBox(skin, foot, Scale(hide, 0.75f), 144 + side);
        PaintBand(skin, foot.front, 0.0f, 1.0f, bone);  // claws
    }
    // A crude blaster strapped to the right fist, pointing ahead.
    const BoxFaces gun = m.AddBox(ForearmR, T(13, 7, -16.5f), {4, 11, 4});
    PaintBox(skin, gun, steel, 150);
    PaintBand(skin, gun.left, 0.35f, 0.65f, Rgb(255, 60, 40));
    PaintBand(skin, gun.right, 0.35f, 0.65f, Rgb(255, 60, 40));
    return m;
}

float Wave(float t, float cycles = 1) { return std::sin(2 * kPi * t * cycles); }
float Hump(float t) { return std::sin(kPi * t); }

// The hunched stance every animation starts from.
Pose Hunch(const Mesh& m, float breathe) {
    Pose p = m.RestPose();
    p.angles[Torso] = {16 + breathe, 0, 0};
    p.angles[Head] = {-18, 0, 0};
    p.angles[UpperArmR] = {-10 + breathe, -22, 0};  // arms hang wide of the body
    p.angles[UpperArmL] = {-10 + breathe, 22, 0};
    p.angles[ForearmR] = {30, 0, 0};
    p.angles[ForearmL] = {25, 0, 0};
    p.angles[ThighR] = p.angles[ThighL] = {18, 0, 0};
    p.angles[ShinR] = p.angles[ShinL] = {-28, 0, 0};
    p.offset.z = 0.8f;  // centres the crouched figure on z = 0
    return p;
}

Pose Stand(const Mesh& m, float t) {
    Pose p = Hunch(m, 3 * Wave(t));
    p.angles[Head].z = 10 * Wave(t);
    return p;
}

// Index 1: the walk cycle the game loops while an enemy roams.
Pose Walk(const Mesh& m, float t) {
    Pose p = Hunch(m, 0);
    const float s = Wave(t), c = std::cos(2 * kPi * t);
    p.angles[ThighR].x += 28 * s;
    p.angles[ThighL].x -= 28 * s;
    p.angles[ShinR].x += -18 - 18 * c;
    p.angles[ShinL].x += -18 + 18 * c;
    p.angles[UpperArmR].x -= 24 * s;
    p.angles[UpperArmL].x += 24 * s;
    p.angles[Torso].z = 7 * s;
    p.angles[Pelvis].z = -5 * s;
    p.offset.z += 1.0f * std::fabs(s) - 0.5f;
    return p;
}

Pose Attack(const Mesh& m, float t) {
    Pose p = Hunch(m, 0);
    const float kick = std::exp(-6 * t);
    p.angles[UpperArmR] = {70 - 15 * kick, 0, 0};
    p.angles[ForearmR] = {15, 0, 0};
    p.angles[Torso].x -= 6 * kick;
    p.angles[Head].x += 4 * kick;
    return p;
}

Pose Pain(const Mesh& m, float t) {
    Pose p = Hunch(m, 0);
    p.angles[Torso].x -= 25 * Hump(t);
    p.angles[Head].x -= 20 * Hump(t);
    p.angles[UpperArmR].y += 25 * Hump(t);
    p.angles[UpperArmL].y -= 25 * Hump(t);
    return p;
}

Pose Death(const Mesh& m, float t) {
    Pose p = Hunch(m, 0);
    const float e = 1 - (1 - t) * (1 - t);
    p.angles[Pelvis] = {-80 * e, 0, 0};
    p.angles[UpperArmR].x += 60 * e;
    p.angles[UpperArmL].x += 70 * e;
    p.offset = {0, 0, 0.8f - 12 * e};
    return p;
}

const AnimationSpec kAnimations[] = {
    {"stand", 6, true, Stand}, {"walk", 8, true, Walk}, {"attack", 6, true, Attack},
    {"pain", 4, false, Pain},  {"death", 6, false, Death},
};
static_assert(sizeof(kAnimations) / sizeof(kAnimations[0]) == 5, "five hobgoblin animations");

}  // namespace

bool GenerateHobgoblin(const std::string& root) {
    Image skin(256, 256, Rgb(50, 60, 30));
    const Mesh mesh = BuildMesh(skin);
    const auto frames = BuildKeyframes(mesh, kAnimations, 5);
    bool ok = WriteFile(root + "/Models/hobgoblin.md2", EncodeMd2(mesh, "hobgoblin.tga", frames));
    return WriteTga(root + "/Textures/hobgoblin.tga", skin, TgaKind::Rle32) && ok;
}

}  // namespace assetgen
