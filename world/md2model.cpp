// SPDX-License-Identifier: GPL-3.0-or-later
// Animation and bounding box of MD2 model instances; render draws them.
#include "world/md2model.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

void MD2Model::SetAnimation(int32_t index, int32_t loops)
{
    // -1 asks for the animation that played before.
    if (index == -1)
        index = previousAnimation;
    if (index < 0 || index >= static_cast<int32_t>(animations.size())) {
        // A model that failed to load has said so already; it simply stays still.
        if (!animations.empty())
            std::cout << "MD2 animation " << index << " does not exist, the model has "
                      << animations.size() << "\n";
        return;
    }
    previousAnimation = currentAnimation;
    currentAnimation = index;
    loopsLeft = loops;
    currentFrame = animations[index].start;
    requestedAnimation = -1;
}

void MD2Model::AdvanceAnimation(float step, int32_t& nextFrame, float& t)
{
    nextFrame = currentFrame;
    t = 0.0f;
    if (frames.empty())
        return;
    const int32_t count = static_cast<int32_t>(frames.size());
    if (currentAnimation < 0 || currentAnimation >= static_cast<int32_t>(animations.size())) {
        // No animation to play: hold the current frame.
        currentFrame = std::clamp(currentFrame, 0, count - 1);
        nextFrame = currentFrame;
        return;
    }

    const MD2Animation& anim = animations[currentAnimation];
    int32_t next = anim.end > 0 ? (currentFrame + 1) % anim.end : 0;
    if (next == 0) {
        if (loopsLeft != 0) {
            --loopsLeft;
            if (loopsLeft < 1)
                currentAnimation = previousAnimation;
        }
        next = anim.start;
    }
    // Animations are built inside the frame list, but a frame index must never leave it.
    if (next < 0 || next >= count)
        next = 0;

    frameTime += step;
    t = frameTime / frameDuration;
    if (frameTime >= frameDuration) {
        currentFrame = next;
        frameTime = 0.0f;
    }
    if (currentFrame < 0 || currentFrame >= count)
        currentFrame = 0;
    nextFrame = next;
}

float MD2Model::DrawRadius()
{
    if (drawRadius >= 0.0f)
        return drawRadius;
    // Drawn at a w of 0 (or below, or not a number) the corners are no points in reach.
    if (!(scaleDivisor > 0.0f)) {
        drawRadius = std::numeric_limits<float>::infinity();
        return drawRadius;
    }
    double most = 0.0;
    for (const std::shared_ptr<MD2Frame>& frame : frames) {
        for (size_t i = 0; i + 2 < frame->vertices.size(); i += 3) {
            double squared = 0.0;
            for (int k = 0; k < 3; ++k) {
                const double c = static_cast<double>(frame->vertices[i + k]) / scaleDivisor;
                squared += c * c;
            }
            most = std::max(most, squared);
        }
    }
    for (const double* c : corners)
        most = std::max(most, c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    // A little more than the furthest point, for the float rounding of the drawing; a
    // reach beyond what a float holds is taken as no bound at all.
    const double reach = std::sqrt(most) * 1.001 + 1e-3;
    drawRadius = reach < std::numeric_limits<float>::max() ? static_cast<float>(reach)
                                                           : std::numeric_limits<float>::infinity();
    return drawRadius;
}

void MD2Model::ComputeBox()
{
    float lo[3] = {0.0f, 0.0f, 0.0f};
    float hi[3] = {0.0f, 0.0f, 0.0f};
    if (!frames.empty()) {
        const MD2Frame& first = *frames[0];
        for (int32_t tri = 0; tri < first.triangleCount; ++tri) {
            for (int c = 0; c < 3; ++c) {
                const int32_t v = first.triangles[tri * 6 + c];
                if (v < 0 || v >= first.vertexCount)
                    continue;
                for (int a = 0; a < 3; ++a) {
                    lo[a] = std::min(lo[a], first.vertices[v * 3 + a]);
                    hi[a] = std::max(hi[a], first.vertices[v * 3 + a]);
                }
            }
        }
    }
    for (int a = 0; a < 3; ++a) {
        boxMin[a] = lo[a] / scaleDivisor;
        boxMax[a] = hi[a] / scaleDivisor;
    }

    // Corner numbering shared with the box drawing: 0-3 on the max-y side, 4-7 on the min-y side.
    const double x0 = boxMin[0], y0 = boxMin[1], z0 = boxMin[2];
    const double x1 = boxMax[0], y1 = boxMax[1], z1 = boxMax[2];
    const double table[8][3] = {
        {x0, y1, z1}, {x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1},
        {x0, y0, z1}, {x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1},
    };
    for (int c = 0; c < 8; ++c) {
        for (int a = 0; a < 3; ++a) {
            corners[c][a] = table[c][a];
            hull.vertices[c][a] = table[c][a];
        }
    }
    hull.vertexCount = 8;

    const double dx = x1 - x0;
    const double dy = y1 - y0;
    boundingRadius = std::sqrt(dx * dx + dy * dy) / 2.0;
    modelHeight = z1 - z0;
}

void MD2Model::SetBoxPosition(double x, double y, double z)
{
    hull.translation[0] = x;
    hull.translation[1] = y;
    hull.translation[2] = z;
    hull.negTranslation[0] = -x;
    hull.negTranslation[1] = -y;
    hull.negTranslation[2] = -z;
}
