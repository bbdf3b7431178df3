// SPDX-License-Identifier: GPL-3.0-or-later
// Part primitives, skin atlas packing and posing of the rigid-part meshes.
#include "mesh.h"

#include <cassert>
#include <cmath>
#include <algorithm>
#include <cstdio>

namespace assetgen {

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr int kPad = 2;  // texels between atlas rects, so filtering does not bleed
}  // namespace

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }

Mat34 Mat34::Translate(Vec3 t) {
    Mat34 r;
    r.m[0][3] = t.x;
    r.m[1][3] = t.y;
    r.m[2][3] = t.z;
    return r;
}

Mat34 Mat34::AxisAngle(Vec3 a, float degrees) {
    const float len = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    a = a * (1.0f / len);
    const float c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180), t = 1 - c;
    Mat34 r;
    const float v[3][3] = {{t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y},
                           {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x},
                           {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = v[i][j];
    return r;
}

Mat34 Mat34::Rotate(Vec3 d) {
    return AxisAngle({0, 0, 1}, d.z) * AxisAngle({0, 1, 0}, d.y) * AxisAngle({1, 0, 0}, d.x);
}

Mat34 Mat34::operator*(const Mat34& o) const {
    Mat34 r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            float v = (j == 3) ? m[i][3] : 0.0f;
            for (int k = 0; k < 3; ++k) v += m[i][k] * o.m[k][j];
            r.m[i][j] = v;
        }
    }
    return r;
}

Vec3 Mat34::Apply(Vec3 v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z + m[0][3],
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z + m[1][3],
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z + m[2][3]};
}

Mat34 Mat34::Transposed3() const {
    Mat34 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
    return r;
}

Mesh::Mesh(int w, int h, float k) : skinWidth(w), skinHeight(h), texelsPerUnit(k) {}

int Mesh::AddBone(int parent, Vec3 pivot) {
    assert(parent < BoneCount());
    bonePivots.push_back(pivot);
    boneParents.push_back(parent);
    return BoneCount() - 1;
}

Rect Mesh::Allocate(int w, int h) {
    if (shelfX + w + kPad > skinWidth) {
        shelfX = 0;
        shelfY += shelfHeight;
        shelfHeight = 0;
    }
    Rect r{shelfX + kPad / 2, shelfY + kPad / 2, w, h};
    shelfX += w + kPad;
    if (h + kPad > shelfHeight) shelfHeight = h + kPad;
    if (shelfY + shelfHeight > skinHeight || w + kPad > skinWidth) {
        std::fprintf(stderr, "assetgen: skin atlas of %dx%d is full\n", skinWidth, skinHeight);
        assert(!"skin atlas overflow");
    }
    return r;
}

int Mesh::Vertex(int bone, Vec3 p) {
    vertices.push_back(p);
    vertexBones.push_back(bone);
    return static_cast<int>(vertices.size()) - 1;
}

int Mesh::TexCoord(float s, float t) {
    texCoords.push_back({static_cast<int>(std::lround(s)), static_cast<int>(std::lround(t))});
    return static_cast<int>(texCoords.size()) - 1;
}

// Corners in counter-clockwise order seen from outside.
void Mesh::Quad(int a, int b, int c, int d, int ta, int tb, int tc, int td) {
    triangles.push_back({{a, b, c}, {ta, tb, tc}});
    triangles.push_back({{a, c, d}, {ta, tc, td}});
}

static int Texels(float units, float k) { return std::max(1, static_cast<int>(std::ceil(units * k))); }

BoxFaces Mesh::AddBox(int bone, const Mat34& place, Vec3 size, float topScale) {
    const int w = Texels(size.x, texelsPerUnit), d = Texels(size.y, texelsPerUnit), h = Texels(size.z, texelsPerUnit);
    BoxFaces f;
    f.all = Allocate(2 * (d + w), d + h);
    const int x0 = f.all.x, y0 = f.all.y;
    f.top = {x0 + d, y0, w, d};
    f.bottom = {x0 + d + w, y0, w, d};
    f.right = {x0, y0 + d, d, h};
    f.front = {x0 + d, y0 + d, w, h};
    f.left = {x0 + d + w, y0 + d, d, h};
    f.back = {x0 + 2 * d + w, y0 + d, w, h};

    const float hx = size.x / 2, hy = size.y / 2, hz = size.z / 2, tx = hx * topScale, ty = hy * topScale;
    auto P = [&](float x, float y, float z) { return place.Apply({x, y, z}); };
    // Each face: bottom-left, bottom-right, top-right, top-left as seen from outside.
    auto face = [&](const Rect& r, Vec3 bl, Vec3 br, Vec3 tr, Vec3 tl) {
        const int a = Vertex(bone, bl), b = Vertex(bone, br), c = Vertex(bone, tr), e = Vertex(bone, tl);
        const int ta = TexCoord(r.x, r.y + r.h), tb = TexCoord(r.x + r.w, r.y + r.h);
        const int tc = TexCoord(r.x + r.w, r.y), te = TexCoord(r.x, r.y);
        Quad(a, b, c, e, ta, tb, tc, te);
    };
    face(f.front, P(hx, hy, -hz), P(-hx, hy, -hz), P(-tx, ty, hz), P(tx, ty, hz));
    face(f.back, P(-hx, -hy, -hz), P(hx, -hy, -hz), P(tx, -ty, hz), P(-tx, -ty, hz));
    face(f.right, P(hx, -hy, -hz), P(hx, hy, -hz), P(tx, ty, hz), P(tx, -ty, hz));
    face(f.left, P(-hx, hy, -hz), P(-hx, -hy, -hz), P(-tx, -ty, hz), P(-tx, ty, hz));
    face(f.top, P(tx, ty, hz), P(-tx, ty, hz), P(-tx, -ty, hz), P(tx, -ty, hz));
    face(f.bottom, P(hx, -hy, -hz), P(-hx, -hy, -hz), P(-hx, hy, -hz), P(hx, hy, -hz));
    return f;
}

PrismFaces Mesh::AddPrism(int bone, const Mat34& place, int sides, float r0, float r1, float height, bool caps) {
    const float rmax = std::max(r0, r1);
    const int w = Texels(2 * kPi * rmax, texelsPerUnit), h = Texels(height, texelsPerUnit);
    const int c = caps ? Texels(2 * rmax, texelsPerUnit) : 0;
    PrismFaces f;
    f.all = Allocate(std::max(w, 2 * c), h + c);
    f.top = {f.all.x, f.all.y, c, c};
    f.bottom = {f.all.x + c, f.all.y, c, c};
    f.side = {f.all.x, f.all.y + c, w, h};
    std::vector<int> lo, hi, tlo, thi;
    for (int i = 0; i <= sides; ++i) {
        const float a = 2 * kPi * i / sides;
        if (i < sides) {
            lo.push_back(Vertex(bone, place.Apply({r0 * std::cos(a), r0 * std::sin(a), -height / 2})));
            hi.push_back(Vertex(bone, place.Apply({r1 * std::cos(a), r1 * std::sin(a), height / 2})));
        }
        const float s = f.side.x + static_cast<float>(w) * i / sides;
        tlo.push_back(TexCoord(s, f.side.y + h));
        thi.push_back(TexCoord(s, f.side.y));
    }
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        Quad(lo[i], lo[j], hi[j], hi[i], tlo[i], tlo[i + 1], thi[i + 1], thi[i]);
    }
    if (!caps) return f;
    for (int end = 0; end < 2; ++end) {
        const float z = end ? height / 2 : -height / 2, r = end ? r1 : r0;
        const Rect& rc = end ? f.top : f.bottom;
        const int centre = Vertex(bone, place.Apply({0, 0, z}));
        const int tcentre = TexCoord(rc.x + rc.w / 2.0f, rc.y + rc.h / 2.0f);
        std::vector<int> rim, trim;
        for (int i = 0; i < sides; ++i) {
            const float a = 2 * kPi * i / sides;
            rim.push_back(Vertex(bone, place.Apply({r * std::cos(a), r * std::sin(a), z})));
            trim.push_back(TexCoord(rc.x + rc.w / 2.0f * (1 + std::cos(a)), rc.y + rc.h / 2.0f * (1 - std::sin(a))));
        }
        for (int i = 0; i < sides; ++i) {
            const int j = (i + 1) % sides;
            if (end)
                triangles.push_back({{centre, rim[i], rim[j]}, {tcentre, trim[i], trim[j]}});
            else
                triangles.push_back({{centre, rim[j], rim[i]}, {tcentre, trim[j], trim[i]}});
        }
    }
    return f;
}

Rect Mesh::AddEllipsoid(int bone, const Mat34& place, Vec3 radii, int slices, int stacks) {
    const int w = Texels(2 * kPi * std::max(radii.x, radii.y) * 0.75f, texelsPerUnit);
    const int h = Texels(kPi * radii.z * 0.75f, texelsPerUnit);
    const Rect r = Allocate(w, h);
    const int bottomPole = Vertex(bone, place.Apply({0, 0, -radii.z}));
    std::vector<std::vector<int>> rings;
    for (int j = 1; j < stacks; ++j) {
        const float phi = kPi * j / stacks - kPi / 2;  // from the bottom up
        std::vector<int> ring;
        for (int i = 0; i < slices; ++i) {
            const float a = 2 * kPi * i / slices;
            ring.push_back(Vertex(bone, place.Apply({radii.x * std::cos(phi) * std::cos(a),
                                                     radii.y * std::cos(phi) * std::sin(a), radii.z * std::sin(phi)})));
        }
        rings.push_back(ring);
    }
    const int topPole = Vertex(bone, place.Apply({0, 0, radii.z}));
    auto T = [&](int i, int j) {  // j counts stacks from the bottom
        return TexCoord(r.x + static_cast<float>(r.w) * i / slices, r.y + r.h - static_cast<float>(r.h) * j / stacks);
    };
    for (int i = 0; i < slices; ++i) {
        const int n = (i + 1) % slices;
        triangles.push_back({{bottomPole, rings[0][n], rings[0][i]}, {T(i, 0), T(i + 1, 1), T(i, 1)}});
        for (int j = 0; j + 1 < static_cast<int>(rings.size()); ++j)
            Quad(rings[j][i], rings[j][n], rings[j + 1][n], rings[j + 1][i], T(i, j + 1), T(i + 1, j + 1),
                 T(i + 1, j + 2), T(i, j + 2));
        const auto& last = rings.back();
        triangles.push_back({{last[i], last[n], topPole}, {T(i, stacks - 1), T(i + 1, stacks - 1), T(i, stacks)}});
    }
    return r;
}

Rect Mesh::AddSheet(int bone, const Mat34& place, float width, float height, int nx, int nz) {
    const Rect r = Allocate(Texels(width, texelsPerUnit), Texels(height, texelsPerUnit));
    for (int side = 0; side < 2; ++side) {
        std::vector<int> v, t;
        for (int j = 0; j <= nz; ++j)
            for (int i = 0; i <= nx; ++i) {
                v.push_back(Vertex(bone, place.Apply({width * i / nx, 0, height * (0.5f - static_cast<float>(j) / nz)})));
                t.push_back(TexCoord(r.x + static_cast<float>(r.w) * i / nx, r.y + static_cast<float>(r.h) * j / nz));
            }
        auto at = [&](int i, int j) { return j * (nx + 1) + i; };
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < nx; ++i) {
                // Rows run downwards in z; the side facing -y winds one way, +y the other.
                const int a = at(i, j + 1), b = at(i + 1, j + 1), c = at(i + 1, j), d = at(i, j);
                if (side == 0)
                    Quad(v[a], v[b], v[c], v[d], t[a], t[b], t[c], t[d]);
                else
                    Quad(v[b], v[a], v[d], v[c], t[b], t[a], t[d], t[c]);
            }
    }
    return r;
}

Pose Mesh::RestPose() const {
    Pose p;
    p.angles.assign(bonePivots.size(), Vec3{});
    return p;
}

std::vector<Vec3> Mesh::Posed(const Pose& pose) const {
    assert(pose.angles.size() == bonePivots.size());
    std::vector<Mat34> world(bonePivots.size());
    for (size_t b = 0; b < bonePivots.size(); ++b) {
        const Vec3 p = bonePivots[b];
        const Mat34 local = Mat34::Translate(p) * Mat34::Rotate(pose.angles[b]) * Mat34::Translate(p * -1.0f);
        world[b] = boneParents[b] < 0 ? Mat34::Translate(pose.offset) * local : world[boneParents[b]] * local;
    }
    std::vector<Vec3> out(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) out[i] = world[vertexBones[i]].Apply(vertices[i]);
    return out;
}

std::vector<Keyframe> BuildKeyframes(const Mesh& mesh, const AnimationSpec* specs, int count) {
    std::vector<Keyframe> out;
    for (int a = 0; a < count; ++a) {
        const AnimationSpec& s = specs[a];
        const int extra = (a == count - 1) ? 1 : 0;
        for (int i = 0; i < s.frames + extra; ++i) {
            const int k = std::min(i, s.frames - 1);
            const float t = s.loop ? static_cast<float>(k) / s.frames
                                   : (s.frames > 1 ? static_cast<float>(k) / (s.frames - 1) : 0.0f);
            out.push_back({FrameName(s.name, i + 1), mesh.Posed(s.pose(mesh, t))});
        }
    }
    return out;
}

}  // namespace assetgen
