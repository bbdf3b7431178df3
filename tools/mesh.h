// SPDX-License-Identifier: GPL-3.0-or-later
// Rigid-part meshes for the MD2 models: boxes, prisms and ellipsoids bound to
// bones, unwrapped into a skin atlas, and posed once per animation frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float k);

// Affine 3 x 4 transform.
struct Mat34 {
    float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    static Mat34 Translate(Vec3 t);
    // Rotation by degrees about z, then y, then x applied first: Rz * Ry * Rx.
    static Mat34 Rotate(Vec3 degrees);
    // Rotation by degrees about an arbitrary axis (right-handed).
    static Mat34 AxisAngle(Vec3 axis, float degrees);
    Mat34 operator*(const Mat34& o) const;
    Vec3 Apply(Vec3 v) const;
    Mat34 Transposed3() const;  // inverse of a pure rotation
};

// A rectangle of the skin in texels; x, y from the picture's top-left.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where each face of a box landed in the skin. Side faces have the box's top
// at the rect's top row; seen from outside, the rect's left column is the
// viewer's left. Front is +y, the model's facing direction.
struct BoxFaces {
    Rect top, bottom, right, front, left, back;  // right is +x, left is -x
    Rect all;
};

struct PrismFaces {
    Rect side, top, bottom, all;
};

struct Triangle {
    std::array<int, 3> vertex, texCoord;
};

// Joint angles (degrees, about x, y, z) per bone and a root offset.
struct Pose {
    std::vector<Vec3> angles;
    Vec3 offset;
};

class Mesh {
public:
    Mesh(int skinWidth, int skinHeight, float texelsPerUnit);

    // A bone turns about pivot (rest position, model units) after its parent.
    int AddBone(int parent, Vec3 pivot);
    int BoneCount() const { return static_cast<int>(bonePivots.size()); }

    // A box of the given size centred at place's origin; topScale narrows or
    // widens the top face in x and y. Each face gets its own corners, so faces
    // stay flat-shaded.
    BoxFaces AddBox(int bone, const Mat34& place, Vec3 size, float topScale = 1.0f);
    // An n-sided prism along place's z, radius r0 at the bottom and r1 at the
    // top; the sides share corners so they shade round.
    PrismFaces AddPrism(int bone, const Mat34& place, int sides, float r0, float r1, float height, bool caps = true);
    // An ellipsoid with smooth shading; its rect is an equirectangular map
    // (top row at the +z pole, u going counter-clockwise from +x).
    Rect AddEllipsoid(int bone, const Mat34& place, Vec3 radii, int slices, int stacks);
    // A flat sheet (two-sided, separate corners per side) of nx by nz quads in
    // place's x-z plane, width along x and height along z.
    Rect AddSheet(int bone, const Mat34& place, float width, float height, int nx, int nz);

    // Vertex positions for the pose, in model units.
    std::vector<Vec3> Posed(const Pose& pose) const;
    Pose RestPose() const;

    int SkinWidth() const { return skinWidth; }
    int SkinHeight() const { return skinHeight; }
    const std::vector<Vec3>& Vertices() const { return vertices; }
    const std::vector<std::array<int, 2>>& TexCoords() const { return texCoords; }
    const std::vector<Triangle>& Triangles() const { return triangles; }

private:
    Rect Allocate(int w, int h);
    int Vertex(int bone, Vec3 p);
    int TexCoord(float s, float t);
    void Quad(int a, int b, int c, int d, int ta, int tb, int tc, int td);

    int skinWidth, skinHeight;
    float texelsPerUnit;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    std::vector<Vec3> bonePivots;
    std::vector<int> boneParents;
    std::vector<Vec3> vertices;
    std::vector<int> vertexBones;
    std::vector<std::array<int, 2>> texCoords;
    std::vector<Triangle> triangles;
};

// One keyframe: its name (a base and a two-digit number) and its vertices.
struct Keyframe {
    std::string name;
    std::vector<Vec3> vertices;
};

// One corner of a GL-command list: a vertex and the texture coordinate it has there.
struct GlCorner {
    int vertex, texCoord;
};
// A triangle strip (triangle i is corners i, i+1, i+2, odd ones turned back so
// they wind like the rest) or a fan around its first corner.
struct GlCommandList {
    bool fan = false;
    std::vector<GlCorner> corners;
};
// Covers every triangle of the mesh exactly once, with its winding and texture
// coordinates, by strips and fans grown greedily across shared edges.
std::vector<GlCommandList> BuildGlCommands(const Mesh& mesh);

// Builds the MD2 file: one skin name (none when empty), the mesh's texture
// coordinates and triangles, the frames and the GL commands (strips and fans
// for the programs that draw from those). The reader mirrors y, so the
// file stores -y and the model comes back as it was built.
std::vector<uint8_t> EncodeMd2(const Mesh& mesh, const std::string& skinName, const std::vector<Keyframe>& frames);

// Frame name from an animation base and a number from 1.
std::string FrameName(const std::string& base, int number);

// One animation: its frame-name base, its keyframe count, whether it loops
// (then the last keyframe leads back into the first) and its pose at time t in 0..1.
struct AnimationSpec {
    const char* name;
    int frames;
    bool loop;
    Pose (*pose)(const Mesh& mesh, float t);
};

// Samples every animation into named keyframes. The game's animation list
// never plays the very last keyframe of a file, so the last animation gets
// one more copy of its final pose.
std::vector<Keyframe> BuildKeyframes(const Mesh& mesh, const AnimationSpec* specs, int count);

}  // namespace assetgen
