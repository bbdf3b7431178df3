// SPDX-License-Identifier: GPL-3.0-or-later
// Animation, bounding box and immediate-mode drawing of MD2 model instances.
#include "world/md2model.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

#include "engine/timertask.h"
#include "world/gameworld.h"

namespace {

// The game world's display toggle "Boundingbox".
constexpr int kBoxToggle = 5;

bool BoxToggleOn()
{
    return GameWorld::Exists() && GameWorld::GetSingleton().GetToggle(kBoxToggle) != 0;
}

float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

}  // namespace

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

void MD2Model::Draw()
{
    if (BoxToggleOn())
        DrawBox();
    if (frames.empty())
        return;
    int32_t next = 0;
    float t = 0.0f;
    AdvanceAnimation(CGlobalTimerTask::dT, next, t);
    DrawFrame(*frames[currentFrame], *frames[next], t);
}

void MD2Model::DrawStatic()
{
    if (frameCount <= 0 || frames.empty())
        return;
    if (BoxToggleOn())
        DrawBox();
    DrawFrame(*frames[0], *frames[0], 0.0f);
}

void MD2Model::Skip(bool animate)
{
    if (frames.empty())
        return;
    const MD2Frame* from = frames[0].get();
    const MD2Frame* to = from;
    float t = 0.0f;
    if (animate) {
        int32_t next = 0;
        AdvanceAnimation(CGlobalTimerTask::dT, next, t);
        from = frames[currentFrame].get();
        to = frames[next].get();
    } else if (frameCount <= 0) {
        return;
    }
    const MD2Frame& mesh = *frames[0];
    if (mesh.triangleCount <= 0)
        return;
    const int32_t* idx = &mesh.triangles[static_cast<size_t>(mesh.triangleCount - 1) * 6];
    const int32_t v = idx[2] * 3;
    GLfloat normal[3];
    for (int k = 0; k < 3; ++k)
        normal[k] = Lerp(from->normals[v + k], to->normals[v + k], t);
    glNormal3fv(normal);
    if (mesh.texCoordCount > 0) {
        const int32_t tc = idx[5] * 2;
        glTexCoord2f(static_cast<GLfloat>(mesh.texCoords[tc]), static_cast<GLfloat>(mesh.texCoords[tc + 1]));
    }
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

void MD2Model::DrawFrame(const MD2Frame& from, const MD2Frame& to, float t)
{
    // Every frame is drawn with the first frame's mesh and texture coordinates. The
    // corners go out as arrays in one call, each with the values it would be given one
    // by one; the arrays are kept, so drawing allocates nothing once they have grown.
    struct Corner {
        GLfloat tex[2];
        GLfloat normal[3];
        GLfloat pos[4];
    };
    static std::vector<Corner> corners;
    const MD2Frame& mesh = *frames[0];
    const bool textured = mesh.texCoordCount > 0;
    corners.resize(static_cast<size_t>(mesh.triangleCount) * 3);
    Corner* out = corners.data();
    for (int32_t tri = 0; tri < mesh.triangleCount; ++tri) {
        const int32_t* idx = &mesh.triangles[tri * 6];
        for (int c = 0; c < 3; ++c, ++out) {
            const int32_t v = idx[c] * 3;
            for (int k = 0; k < 3; ++k) {
                out->normal[k] = Lerp(from.normals[v + k], to.normals[v + k], t);
                out->pos[k] = Lerp(from.vertices[v + k], to.vertices[v + k], t);
            }
            out->pos[3] = scaleDivisor;
            if (textured) {
                const int32_t tc = idx[3 + c] * 2;
                out->tex[0] = static_cast<GLfloat>(mesh.texCoords[tc]);
                out->tex[1] = static_cast<GLfloat>(mesh.texCoords[tc + 1]);
            }
        }
    }
    if (corners.empty())
        return;
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glNormalPointer(GL_FLOAT, sizeof(Corner), corners[0].normal);
    glVertexPointer(4, GL_FLOAT, sizeof(Corner), corners[0].pos);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), corners[0].tex);
    }
    glDrawArrays(static_cast<GLenum>(primitiveMode), 0, static_cast<GLsizei>(corners.size()));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // Arrays leave the current normal and texture coordinate undefined: set them as the
    // last corner's calls left them, which later drawing takes on.
    const Corner& last = corners.back();
    glNormal3fv(last.normal);
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoord2fv(last.tex);
    }
}

void MD2Model::DrawBox()
{
    static constexpr int kFaces[6][4] = {
        {0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4}, {4, 5, 1, 0}, {5, 6, 2, 1}, {7, 4, 0, 3},
    };
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (lighting)
        glDisable(GL_LIGHTING);
    for (int f = 5; f >= 0; --f) {
        glBegin(GL_LINE_LOOP);
        for (int c : kFaces[f])
            glVertex3f(static_cast<float>(corners[c][0]), static_cast<float>(corners[c][1]),
                       static_cast<float>(corners[c][2]));
        glEnd();
    }
    if (lighting)
        glEnable(GL_LIGHTING);
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

    // Corner numbering shared with DrawBox: 0-3 on the max-y side, 4-7 on the min-y side.
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
