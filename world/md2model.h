// SPDX-License-Identifier: GPL-3.0-or-later
// Keyframe-animated MD2 model instances: shared frames, per-object animation state and box.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One keyframe. Made by the loader (or the built-in cube) and shared by every copy of a
// model; only the first frame carries the triangles and texture coordinates.
struct MD2Frame {
    int32_t vertexCount = 0;
    int32_t triangleCount = 0;
    int32_t texCoordCount = 0;
    std::vector<float> vertices;    // vertexCount * (x, y, z), model units
    std::vector<float> normals;     // vertexCount * (x, y, z), unit length
    std::vector<double> texCoords;  // texCoordCount * (s, t), 0 ... 1
    std::vector<int32_t> triangles; // triangleCount * (3 vertex, 3 texture-coordinate indices)
};

// A run of frames that plays as one animation. end is the first frame after it, except
// for the animation that reaches the last frame, whose end is that last frame.
struct MD2Animation {
    char name[256] = {};
    int32_t start = 0;
    int32_t end = 0;
};

// The point set of the exact collision test: the eight box corners, placed in the world
// by a translation (kept together with its negation).
struct ModelHull {
    static constexpr int kCapacity = 8;

    int32_t vertexCount = 0;
    double vertices[kCapacity][3] = {};
    double translation[3] = {};
    double negTranslation[3] = {};
};

// One object's model. Copies share the frames and animate independently.
class MD2Model {
public:
    static constexpr int32_t kTriangles = 4;  // GL_TRIANGLES, without pulling in GL here

    // Switches to animation index, played loops times (0: for ever; 1: once, then back
    // to the animation that was current before).
    void SetAnimation(int32_t index, int32_t loops);

    // Steps the animation by step seconds as one Draw would, without drawing: returns
    // the frame to blend towards and the blend factor t of this step.
    void AdvanceAnimation(float step, int32_t& nextFrame, float& t);

    // Reaches every vertex of every frame and the box from the model's origin, in world
    // units.
    float DrawRadius();

    // Box of the first frame's used vertices, always containing the origin, in world
    // units; fills the corners, the hull, the bounding radius and the model height.
    void ComputeBox();
    // Places the hull at (x, y, z) in the world.
    void SetBoxPosition(double x, double y, double z);

    bool IsLoaded() const { return loaded; }
    int32_t GetFrameCount() const { return frameCount; }
    int32_t GetAnimationCount() const { return animationCount; }
    double GetBoundingRadius() const { return boundingRadius; }
    double GetModelHeight() const { return modelHeight; }
    const ModelHull& GetHull() const { return hull; }
    ModelHull& GetHull() { return hull; }

    float boxMin[3] = {0.0f, 0.0f, 0.0f};
    float boxMax[3] = {0.0f, 0.0f, 0.0f};
    double corners[8][3] = {};  // 0-3 on the max-y side, 4-7 on the min-y side
    ModelHull hull;
    double boundingRadius = 0.0;  // half the x-y diagonal of the box
    double modelHeight = 0.0;     // max z - min z of the box
    bool loaded = false;
    int32_t primitiveMode = kTriangles;
    int32_t frameCount = 0;
    int32_t animationCount = 0;
    int32_t currentAnimation = 0;
    int32_t previousAnimation = 0;
    int32_t requestedAnimation = -1;
    int32_t loopsLeft = 0;
    int32_t requestedLoops = 0;
    int32_t currentFrame = 0;
    float frameTime = 0.0f;       // seconds since the current frame began
    float scaleDivisor = 20.0f;   // model units per world unit (drawn as w)
    float frameDuration = 0.5f;   // seconds per keyframe
    float drawRadius = -1.0f;     // worked out on the first DrawRadius
    std::vector<std::shared_ptr<MD2Frame>> frames;
    std::vector<MD2Animation> animations;
};
