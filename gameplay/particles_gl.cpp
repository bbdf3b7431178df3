// SPDX-License-Identifier: GPL-3.0-or-later
// The particles' OpenGL quads, the one drawing corner of the gameplay layer.
#include <GL/gl.h>

#include "gameplay/particles.h"

namespace {

// One corner of a particle's square as the vertex arrays take it.
struct Corner {
    GLfloat colour[4];
    GLfloat tex[2];
    GLfloat pos[3];
};

class GLParticleDrawer : public IParticleDrawer {
public:
    void Begin() override
    {
        // Additive: overlapping particles glow brighter, black adds nothing. Unlit, so
        // they keep their own colour and fade with their life; and they leave the depth
        // buffer alone, or their squares would hide what a later pass draws behind them.
        lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
        glDisable(GL_LIGHTING);
        glDepthMask(GL_FALSE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        count = 0;
    }

    void Quad(const Particle& p) override
    {
        // A 1 x 1 square in the ground plane, textured by whatever is bound: the two
        // triangles of the strip (+,+) (-,+) (+,-) (-,-), in the order a strip makes
        // them, so the system goes out in one call and covers the same pixels.
        const Corner corners[4] = {
            {{p.r, p.g, p.b, p.life}, {1, 1}, {p.x + 0.5f, p.y + 0.5f, p.z}},
            {{p.r, p.g, p.b, p.life}, {0, 1}, {p.x - 0.5f, p.y + 0.5f, p.z}},
            {{p.r, p.g, p.b, p.life}, {1, 0}, {p.x + 0.5f, p.y - 0.5f, p.z}},
            {{p.r, p.g, p.b, p.life}, {0, 0}, {p.x - 0.5f, p.y - 0.5f, p.z}},
        };
        static constexpr int kOrder[kVerticesPerQuad] = {0, 1, 2, 2, 1, 3};
        if (count + kVerticesPerQuad > kCapacity)
            Flush();
        for (int i : kOrder)
            vertices[count++] = corners[i];
    }

    void End() override
    {
        Flush();
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
        if (lit)
            glEnable(GL_LIGHTING);
    }

private:
    static constexpr int kVerticesPerQuad = 6;
    static constexpr int kCapacity = ParticleSystem::kParticleCount * kVerticesPerQuad;

    void Flush()
    {
        if (count == 0)
            return;
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glColorPointer(4, GL_FLOAT, sizeof(Corner), vertices[0].colour);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), vertices[0].tex);
        glVertexPointer(3, GL_FLOAT, sizeof(Corner), vertices[0].pos);
        glDrawArrays(GL_TRIANGLES, 0, count);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        // Arrays leave the current colour undefined: set it as the last particle's
        // colour call left it, which later drawing takes on.
        // Likewise the texture coordinate, which a last corner leaves at (0, 0).
        const GLfloat* last = vertices[count - 1].colour;
        glColor4f(last[0], last[1], last[2], last[3]);
        glTexCoord2f(0.0f, 0.0f);
        count = 0;
    }

    bool lit = false;
    int count = 0;
    Corner vertices[kCapacity];
};

GLParticleDrawer glDrawer;

}  // namespace

IParticleDrawer* ParticleSystem::drawer = &glDrawer;
