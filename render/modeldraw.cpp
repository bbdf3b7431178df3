// SPDX-License-Identifier: GPL-3.0-or-later
// MD2 models drawn as vertex arrays, blended between two keyframes.
#include "render/modeldraw.h"

#include <GL/gl.h>

#include "engine/timertask.h"
#include "world/md2model.h"

namespace {

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace

void CModelDrawer::Draw(MD2Model& model, bool boxes)
{
    if (boxes)
        DrawBox(model);
    if (model.frames.empty())
        return;
    int32_t next = 0;
    float t = 0.0f;
    model.AdvanceAnimation(CGlobalTimerTask::dT, next, t);
    DrawFrame(model, model.currentFrame, next, t);
}

void CModelDrawer::DrawStatic(MD2Model& model, bool boxes)
{
    if (model.frameCount <= 0 || model.frames.empty())
        return;
    if (boxes)
        DrawBox(model);
    DrawFrame(model, 0, 0, 0.0f);
}

void CModelDrawer::Skip(MD2Model& model, bool animate)
{
    if (model.frames.empty())
        return;
    const MD2Frame* from = model.frames[0].get();
    const MD2Frame* to = from;
    float t = 0.0f;
    if (animate) {
        int32_t next = 0;
        model.AdvanceAnimation(CGlobalTimerTask::dT, next, t);
        from = model.frames[model.currentFrame].get();
        to = model.frames[next].get();
    } else if (model.frameCount <= 0) {
        return;
    }
    const MD2Frame& mesh = *model.frames[0];
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

void CModelDrawer::DrawFrame(const MD2Model& model, int fromIndex, int toIndex, float t)
{
    // Every frame is drawn with the first frame's mesh and texture coordinates. The
    // corners go out as arrays in one call, each with the values it would be given one
    // by one.
    const MD2Frame& from = *model.frames[fromIndex];
    const MD2Frame& to = *model.frames[toIndex];
    const MD2Frame& mesh = *model.frames[0];
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
            out->pos[3] = model.scaleDivisor;
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
    glDrawArrays(static_cast<GLenum>(model.primitiveMode), 0, static_cast<GLsizei>(corners.size()));
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

void CModelDrawer::DrawBox(const MD2Model& model)
{
    // The faces by the corners' numbers: 0-3 on the max-y side, 4-7 on the min-y side.
    static constexpr int kFaces[6][4] = {
        {0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4}, {4, 5, 1, 0}, {5, 6, 2, 1}, {7, 4, 0, 3},
    };
    const bool lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    if (lighting)
        glDisable(GL_LIGHTING);
    for (int f = 5; f >= 0; --f) {
        glBegin(GL_LINE_LOOP);
        for (int c : kFaces[f])
            glVertex3f(static_cast<float>(model.corners[c][0]), static_cast<float>(model.corners[c][1]),
                       static_cast<float>(model.corners[c][2]));
        glEnd();
    }
    if (lighting)
        glEnable(GL_LIGHTING);
}
